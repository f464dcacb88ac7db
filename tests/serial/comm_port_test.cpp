#include "link/serial/comm_port.h"

#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <random>
#include <thread>

#include "serial/message_log.h"
#include "support/pty_pair.h"

namespace zoedit::link {
namespace {

using testing::MessageLog;
using testing::PtyPair;
using namespace std::chrono_literals;

PortParams paramsFor(const std::string& path) {
    return PortParams{path, 115200, 2, "8", "None", "1", 0};
}

// Takes bytes from the queue until `count` arrived or the guard ran out.
std::vector<std::uint8_t> drain(CByteQueue& q, std::size_t count) {
    std::vector<std::uint8_t> out;
    const auto guard = std::chrono::steady_clock::now() + 5s;
    std::uint8_t buffer[4096];
    while (out.size() < count && std::chrono::steady_clock::now() < guard) {
        const std::size_t n = q.getSome(buffer, std::min(sizeof buffer, count - out.size()));
        out.insert(out.end(), buffer, buffer + n);
        if (n == 0) std::this_thread::sleep_for(1ms);
    }
    return out;
}

bool waitUntil(const std::function<bool()>& done) {
    const auto guard = std::chrono::steady_clock::now() + 5s;
    while (!done()) {
        if (std::chrono::steady_clock::now() > guard) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

std::vector<std::uint8_t> pattern(std::size_t n, unsigned seed = 7) {
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>((i * 131 + seed) % 256);
    return v;
}

class CommPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.ok());
        port.setDiagnosticHandler([this](const std::string& text) {
            std::lock_guard lock(diag_mutex);
            diagnostics.push_back(text);
        });
    }
    std::vector<std::string> diagnosticsSeen() {
        std::lock_guard lock(diag_mutex);
        return diagnostics;
    }

    PtyPair pty;
    MessageLog log;
    TransferFlags flags;
    std::atomic<int>& download = flags.m_bDownloadActive;
    std::atomic<int>& upload = flags.m_bUploadActive;
    CCommPort port{log, flags};
    std::mutex diag_mutex;
    std::vector<std::string> diagnostics;
};

TEST_F(CommPortTest, ReceivedBytesReachTheQueueAndOnlyTheArmedDirectionIsTold) {
    ASSERT_TRUE(port.OpenPort(paramsFor(pty.slavePath()))) << port.lastError();
    download = 1;
    const auto first = pattern(300);
    ASSERT_TRUE(pty.writeMaster(first));
    EXPECT_EQ(drain(port.QueueRead, first.size()), first);
    EXPECT_TRUE(log.waitFor(ui::UM_DOWNLOAD_RX));

    download = 0;
    upload = 1;
    const auto second = pattern(50, 3);
    ASSERT_TRUE(pty.writeMaster(second));
    EXPECT_EQ(drain(port.QueueRead, second.size()), second);
    EXPECT_TRUE(log.waitFor(ui::UM_UPLOAD_RX));
    port.ClosePort();

    for (const auto& m : log.all()) {
        EXPECT_EQ(m.wparam, 2);  // the port id
        EXPECT_EQ(m.lparam, 0);
    }
}

TEST_F(CommPortTest, NothingArmedMeansBytesWaitInTheQueueUntold) {
    ASSERT_TRUE(port.OpenPort(paramsFor(pty.slavePath())));
    ASSERT_TRUE(pty.writeMaster(pattern(100)));
    ASSERT_TRUE(waitUntil([&] { return port.QueueRead.size() == 100; }));
    port.ClosePort();  // the watcher has ended: every post it made is in the log
    EXPECT_TRUE(log.all().empty());
    // The queue keeps its bytes across a close and the next open.
    ASSERT_TRUE(port.OpenPort(paramsFor(pty.slavePath())));
    EXPECT_EQ(port.QueueRead.size(), 100);
}

TEST_F(CommPortTest, WrittenBytesReachTheFarEndWhole) {
    ASSERT_TRUE(port.OpenPort(paramsFor(pty.slavePath())));
    const auto frame = pattern(1029);
    EXPECT_EQ(port.WriteComm(frame.data(), frame.size()), frame.size());
    EXPECT_EQ(pty.readMaster(frame.size()), frame);

    // More than the terminal buffers hold: the write waits for room.
    const auto big = pattern(200000, 11);
    std::vector<std::uint8_t> seen;
    std::thread far_end([&] { seen = pty.readMaster(big.size(), 10s); });
    EXPECT_EQ(port.WriteComm(big.data(), big.size()), big.size());
    far_end.join();
    EXPECT_EQ(seen, big);
}

// Writes queue behind each other without waiting on the watcher: whatever
// their sizes, the far end gets every byte once and in order, also when it
// reads slower than they are written and the driver keeps filling up.
TEST_F(CommPortTest, QueuedWritesArriveWholeAndInOrder) {
    ASSERT_TRUE(port.OpenPort(paramsFor(pty.slavePath())));
    std::vector<std::uint8_t> sent;
    std::minstd_rand random(2026);
    for (int i = 0; i < 150; ++i) {
        const auto piece = pattern(1 + random() % 3000, static_cast<unsigned>(i));
        sent.insert(sent.end(), piece.begin(), piece.end());
    }
    std::vector<std::uint8_t> seen;
    std::thread far_end([&] {
        while (seen.size() < sent.size()) {
            const auto piece =
                pty.readMaster(std::min<std::size_t>(700, sent.size() - seen.size()), 5s);
            if (piece.empty()) return;
            seen.insert(seen.end(), piece.begin(), piece.end());
        }
    });
    std::size_t at = 0;
    std::minstd_rand sizes(7);
    while (at < sent.size()) {
        const std::size_t n = std::min<std::size_t>(1 + sizes() % 3000, sent.size() - at);
        ASSERT_EQ(port.WriteComm(sent.data() + at, n), n) << "at byte " << at;
        at += n;
    }
    far_end.join();
    EXPECT_EQ(seen.size(), sent.size());
    EXPECT_TRUE(seen == sent);
    EXPECT_FALSE(port.lineStopped());
}

// A verdict written just before the port closes must still reach a far end
// that only gets round to reading afterwards, every time.
TEST_F(CommPortTest, CloseRightAfterAWriteLosesNothing) {
    for (int round = 0; round < 25; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_TRUE(port.OpenPort(paramsFor(pty.slavePath()))) << port.lastError();
        const auto frame = pattern(1029, static_cast<unsigned>(round));
        ASSERT_EQ(port.WriteComm(frame.data(), frame.size()), frame.size());
        const std::uint8_t verdict = 0x17;
        ASSERT_EQ(port.WriteComm(&verdict, 1), 1u);
        port.ClosePort();
        // The peer reads slowly, in small pieces with pauses.
        std::vector<std::uint8_t> seen;
        while (seen.size() < frame.size() + 1) {
            const auto piece =
                pty.readMaster(std::min<std::size_t>(100, frame.size() + 1 - seen.size()), 500ms);
            if (piece.empty()) break;
            seen.insert(seen.end(), piece.begin(), piece.end());
            std::this_thread::sleep_for(1ms);
        }
        ASSERT_EQ(seen.size(), frame.size() + 1);
        EXPECT_TRUE(std::equal(frame.begin(), frame.end(), seen.begin()));
        EXPECT_EQ(seen.back(), verdict);
    }
}

// A write several times what the driver takes at once, closed at once: the
// port holds the rest itself and must hand it over before it closes, to a far
// end that only starts reading a while later.
TEST_F(CommPortTest, CloseRightAfterAWriteLargerThanTheDriverTakesLosesNothing) {
    ASSERT_TRUE(port.OpenPort(paramsFor(pty.slavePath()))) << port.lastError();
    const auto big = pattern(100 * 1024, 5);
    std::vector<std::uint8_t> seen;
    std::thread far_end([&] {
        std::this_thread::sleep_for(300ms);
        while (seen.size() < big.size()) {
            const std::size_t wanted = std::min<std::size_t>(8192, big.size() - seen.size());
            const auto piece = pty.readMaster(wanted, 2s);
            seen.insert(seen.end(), piece.begin(), piece.end());
            if (piece.size() < wanted) return;  // nothing more came
        }
    });
    EXPECT_EQ(port.WriteComm(big.data(), big.size()), big.size());
    port.ClosePort();
    far_end.join();
    EXPECT_EQ(seen.size(), big.size());
    EXPECT_TRUE(seen == big) << "the bytes arrived changed or out of order";
    EXPECT_EQ(diagnosticsSeen(), std::vector<std::string>{});
}

// The far end takes nothing more (its buffers full, as a line held by flow
// control): a write gives up within the time the line needs and says the line
// stopped, instead of hanging its caller.
TEST_F(CommPortTest, WriteToAStoppedLineEndsWithinItsBound) {
    ASSERT_TRUE(port.OpenPort(paramsFor(pty.slavePath()))) << port.lastError();
    const auto frame = pattern(1029);
    std::atomic<bool> returned{false};
    std::size_t short_write = frame.size();
    std::thread writer([&] {
        // Far more frames than the terminal buffers hold; nobody reads them.
        for (int i = 0; i < 1000 && short_write == frame.size(); ++i) {
            const std::size_t n = port.WriteComm(frame.data(), frame.size());
            if (n < frame.size()) short_write = n;
        }
        returned = true;
    });
    const bool in_time = waitUntil([&] { return returned.load(); });
    if (!in_time) pty.closeMaster();  // let the writer go so the test can end
    writer.join();
    ASSERT_TRUE(in_time) << "WriteComm hung on a stopped line";
    EXPECT_LT(short_write, frame.size());
    EXPECT_TRUE(port.lineStopped());
    EXPECT_TRUE(port.lineLost());
    EXPECT_EQ(port.WriteComm(frame.data(), frame.size()), 0u);  // no more takers
    port.ClosePort();
}

TEST_F(CommPortTest, OverflowDropsTheChunkAndKeepsTheQueue) {
    ASSERT_TRUE(port.OpenPort(paramsFor(pty.slavePath())));
    const auto fill = pattern(CByteQueue::kCapacity);
    ASSERT_TRUE(pty.writeMaster(fill));
    ASSERT_TRUE(waitUntil([&] { return port.QueueRead.size() == CByteQueue::kCapacity; }));
    ASSERT_TRUE(pty.writeMaster(pattern(10)));
    ASSERT_TRUE(waitUntil([&] { return !diagnosticsSeen().empty(); }));
    EXPECT_EQ(diagnosticsSeen().front(), "serial port QueueRead FULL!");
    EXPECT_EQ(port.QueueRead.size(), CByteQueue::kCapacity);
    EXPECT_EQ(drain(port.QueueRead, fill.size()), fill);
    // The watcher goes on receiving once there is room.
    ASSERT_TRUE(pty.writeMaster({1, 2, 3}));
    EXPECT_EQ(drain(port.QueueRead, 3), (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST_F(CommPortTest, CloseWhileIdleAndWhileReceivingReturns) {
    ASSERT_TRUE(port.OpenPort(paramsFor(pty.slavePath())));
    port.ClosePort();
    EXPECT_FALSE(port.isOpen());
    port.ClosePort();  // twice is harmless

    ASSERT_TRUE(port.OpenPort(paramsFor(pty.slavePath())));
    download = 1;
    std::atomic<bool> stop{false};
    std::thread far_end([&] {
        const auto chunk = pattern(512);
        while (!stop) {
            // Never blocks: once the watcher stops reading, the writes just fail.
            if (::write(pty.masterFd(), chunk.data(), chunk.size()) < 0) {
                std::this_thread::sleep_for(1ms);
            }
            if (port.QueueRead.size() > 30000) drain(port.QueueRead, 30000);
        }
    });
    ASSERT_TRUE(log.waitFor(ui::UM_DOWNLOAD_RX));
    port.ClosePort();
    stop = true;
    far_end.join();
    EXPECT_FALSE(port.isOpen());
}

TEST_F(CommPortTest, FarEndVanishingEndsWritesAndTellsTheOwner) {
    ASSERT_TRUE(port.OpenPort(paramsFor(pty.slavePath())));
    upload = 1;
    pty.closeSlave();
    pty.closeMaster();
    ASSERT_TRUE(waitUntil([&] { return port.lineLost(); }));
    EXPECT_TRUE(log.waitFor(ui::UM_UPLOAD_RX));  // the owner wakes and can look
    const auto frame = pattern(1029);
    EXPECT_EQ(port.WriteComm(frame.data(), frame.size()), 0u);
    port.ClosePort();
}

TEST_F(CommPortTest, SettingsReachTheDevice) {
    PortParams p = paramsFor(pty.slavePath());
    p.baud_rate = 9600;
    p.stop_bits = "2";
    ASSERT_TRUE(port.OpenPort(p)) << port.lastError();
    termios t{};
    ASSERT_EQ(::tcgetattr(pty.slaveFd(), &t), 0);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_FALSE(t.c_cflag & PARENB);
    EXPECT_TRUE(t.c_cflag & CSTOPB);
    EXPECT_EQ(::cfgetospeed(&t), static_cast<speed_t>(B9600));
}

TEST_F(CommPortTest, SettingsADeviceCannotTakeFailTheOpen) {
    const auto refused = [&](PortParams p) {
        const bool opened = port.OpenPort(p);
        port.ClosePort();
        return !opened && !port.lastError().empty();
    };
    PortParams p = paramsFor(pty.slavePath());
    p.data_bits = "4";
    EXPECT_TRUE(refused(p));
    p = paramsFor(pty.slavePath());
    p.baud_rate = 0;
    EXPECT_TRUE(refused(p));
    p = paramsFor("/dev/zoedit-no-such-port");
    EXPECT_TRUE(refused(p));
    p = paramsFor("COM0");
    EXPECT_TRUE(refused(p));
    // Still usable afterwards.
    EXPECT_TRUE(port.OpenPort(paramsFor(pty.slavePath())));
}

}  // namespace
}  // namespace zoedit::link
