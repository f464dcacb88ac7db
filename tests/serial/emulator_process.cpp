#include "serial/emulator_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace zoedit::testing {

namespace {

using Clock = std::chrono::steady_clock;
// Only keeps a broken build from hanging the suite: well inside the runner's
// time-out, so that the test fails on its own terms (-1 from waitForExit).
constexpr auto kGuard = std::chrono::seconds(10);

pid_t spawn(const std::vector<std::string>& words, int out_fd, int err_fd) {
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    const int null_fd = ::open("/dev/null", O_RDWR);
    ::dup2(null_fd, STDIN_FILENO);
    ::dup2(out_fd, STDOUT_FILENO);
    ::dup2(err_fd >= 0 ? err_fd : null_fd, STDERR_FILENO);
    std::vector<char*> argv;
    for (const auto& w : words) argv.push_back(const_cast<char*>(w.c_str()));
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
}

int statusOf(int raw) {
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
}

}  // namespace

EmulatorProcess::EmulatorProcess(const std::vector<std::string>& options) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return;
    std::vector<std::string> words{ZOEDIT_CLI_PATH, "receiver", "--pty"};
    words.insert(words.end(), options.begin(), options.end());
    pid_ = spawn(words, out[1], -1);
    ::close(out[1]);
    const auto deadline = Clock::now() + kGuard;
    std::string line;
    char c = 0;
    while (Clock::now() < deadline) {
        pollfd p{out[0], POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        if (::read(out[0], &c, 1) != 1 || c == '\n') break;
        line += c;
    }
    ::close(out[0]);
    slave_path_ = line;
}

EmulatorProcess::~EmulatorProcess() {
    if (pid_ > 0 && !reaped_) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}

void EmulatorProcess::kill() {
    if (pid_ > 0 && !reaped_) ::kill(pid_, SIGKILL);
}

int EmulatorProcess::waitForExit() {
    const auto deadline = Clock::now() + kGuard;
    while (Clock::now() < deadline) {
        int raw = 0;
        if (::waitpid(pid_, &raw, WNOHANG) == pid_) {
            reaped_ = true;
            return statusOf(raw);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return -1;
}

ProgramRun runCli(const std::vector<std::string>& args) {
    ProgramRun run;
    int out[2];
    int err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) return run;
    std::vector<std::string> words{ZOEDIT_CLI_PATH};
    words.insert(words.end(), args.begin(), args.end());
    const pid_t pid = spawn(words, out[1], err[1]);
    ::close(out[1]);
    ::close(err[1]);
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* sinks[2] = {&run.out, &run.err};
    int open_pipes = 2;
    const auto deadline = Clock::now() + kGuard;
    while (open_pipes > 0 && Clock::now() < deadline) {
        if (::poll(fds, 2, 100) <= 0) continue;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            char buffer[4096];
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            } else {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open_pipes;
            }
        }
    }
    for (auto& f : fds) {
        if (f.fd >= 0) ::close(f.fd);
    }
    if (open_pipes > 0) ::kill(pid, SIGKILL);
    int raw = 0;
    ::waitpid(pid, &raw, 0);
    run.status = open_pipes > 0 ? -1 : statusOf(raw);
    return run;
}

}  // namespace zoedit::testing
