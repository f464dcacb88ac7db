// zoedit-cli receiver on a pseudo-terminal, driven from here by the PC's own
// transfer machines over plain POSIX calls.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "link/download_machine.h"
#include "link/upload_machine.h"
#include "support/link_fixture.h"

namespace zoedit::link {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

// Generous limits that only keep a broken build from hanging the suite;
// well inside the runner's own time-out, so the test says what it waited for.
constexpr auto kHangGuard = std::chrono::seconds(10);

class ReceiverProcess {
public:
    explicit ReceiverProcess(std::vector<std::string> options) {
        int out[2];
        if (pipe(out) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], STDOUT_FILENO);
            close(out[0]);
            close(out[1]);
            std::vector<std::string> words{ZOEDIT_CLI_PATH, "receiver", "--pty"};
            words.insert(words.end(), options.begin(), options.end());
            std::vector<char*> argv;
            for (auto& w : words) argv.push_back(w.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(out[1]);
        slave_path_ = readLine(out[0]);
        close(out[0]);
    }

    ~ReceiverProcess() {
        if (pid_ > 0 && !reaped_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }

    const std::string& slavePath() const { return slave_path_; }
    void signal(int sig) { kill(pid_, sig); }

    // Exit status once the process has ended; -1 when it did not end in time.
    int waitForExit() {
        const auto deadline = Clock::now() + kHangGuard;
        while (Clock::now() < deadline) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                reaped_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            usleep(10000);
        }
        return -1;
    }

private:
    static std::string readLine(int fd) {
        std::string line;
        const auto deadline = Clock::now() + kHangGuard;
        char c;
        while (Clock::now() < deadline) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 100) <= 0) continue;
            if (read(fd, &c, 1) != 1 || c == '\n') break;
            line += c;
        }
        return line;
    }

    pid_t pid_ = -1;
    bool reaped_ = false;
    std::string slave_path_;
};

// The PC's end of the line: the slave side, raw, without flushing what the
// receiver already said.
int openPcSide(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0) return fd;
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);
    return fd;
}

SendBytes writeTo(int fd) {
    return [fd](std::span<const std::uint8_t> bytes) {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
            if (n <= 0) return;
            done += static_cast<std::size_t>(n);
        }
    };
}

// Feeds every read to `machine` until `armed` drops or the guard runs out,
// as the port's watcher and the view's handler do together.
template <typename Machine>
void pump(int fd, Machine& machine, const std::atomic<int>& armed) {
    const auto deadline = Clock::now() + kHangGuard;
    std::uint8_t buffer[8196];
    while (armed && Clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) return;
        machine.step(std::span<const std::uint8_t>(buffer, static_cast<std::size_t>(n)));
    }
    if (armed) ADD_FAILURE() << "the transfer was still running after the guard";
}

TEST(ReceiverCommand, DownloadIsStoredAndHangUpEndsTheReceiver) {
    test::TempDir dir;
    const auto saved = dir.path("saved.bin");
    ReceiverProcess receiver({"--save", saved.string(), "--noise", "4"});
    ASSERT_FALSE(receiver.slavePath().empty());
    const int fd = openPcSide(receiver.slavePath());
    ASSERT_GE(fd, 0);

    TransferFlags flags;
    test::RecordingEvents events;
    DownloadMachine pc(flags, writeTo(fd), events);
    const Bytes file = test::makeLinkFile(5000);
    ASSERT_TRUE(pc.prepare(file));
    pump(fd, pc, flags.m_bDownloadActive);

    EXPECT_EQ(events.messages, (std::vector<std::string>{"Download OK"}));
    EXPECT_EQ(test::readBytes(saved), file);
    close(fd);
    EXPECT_EQ(receiver.waitForExit(), 0);
}

TEST(ReceiverCommand, UploadInSplitFramesArrivesWhole) {
    test::TempDir dir;
    const Bytes file = test::makeLinkFile(3 * 1024, 0x80);
    test::writeBytes(dir.path("send.bin"), file);
    ReceiverProcess receiver(
        {"--send", dir.path("send.bin").string(), "--split", "100", "--noise", "3"});
    const int fd = openPcSide(receiver.slavePath());
    ASSERT_GE(fd, 0);

    TransferFlags flags;
    test::RecordingEvents events;
    UploadMachine pc(flags, writeTo(fd), events);
    pc.arm(dir.path("out.bin").string());
    pc.start();
    pump(fd, pc, flags.m_bUploadActive);

    EXPECT_EQ(events.messages, (std::vector<std::string>{"UpLoad Complete(M)!!"}));
    EXPECT_EQ(test::readBytes(dir.path("out.bin")), file);
    receiver.signal(SIGTERM);
    EXPECT_EQ(receiver.waitForExit(), 0);
    close(fd);
}

TEST(ReceiverCommand, RejectionAndInterrupt) {
    ReceiverProcess receiver({"--reject", "model"});
    const int fd = openPcSide(receiver.slavePath());
    ASSERT_GE(fd, 0);
    TransferFlags flags;
    test::RecordingEvents events;
    DownloadMachine pc(flags, writeTo(fd), events);
    ASSERT_TRUE(pc.prepare(test::makeLinkFile(100)));
    pump(fd, pc, flags.m_bDownloadActive);
    EXPECT_EQ(events.messages, (std::vector<std::string>{"Model ID error"}));
    receiver.signal(SIGINT);
    EXPECT_EQ(receiver.waitForExit(), 0);
    close(fd);
}

TEST(ReceiverCommand, RefusesBadArguments) {
    const std::string cli = ZOEDIT_CLI_PATH;
    EXPECT_NE(std::system((cli + " receiver --pty --verdict maybe 2>/dev/null").c_str()), 0);
    EXPECT_NE(std::system((cli + " receiver 2>/dev/null").c_str()), 0);
    EXPECT_NE(std::system((cli + " receiver --port /nonexistent/tty 2>/dev/null").c_str()), 0);
}

}  // namespace
}  // namespace zoedit::link
