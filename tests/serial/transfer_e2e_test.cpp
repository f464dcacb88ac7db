// Whole transfers over pseudo-terminals: the PC side (CCommPort and the
// machines) in this process, the receiver emulator in a child process.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "database/big_endian.h"
#include "link/serial/transfer_session.h"
#include "serial/emulator_process.h"
#include "support/database_builder.h"
#include "support/hang_guard.h"
#include "support/link_fixture.h"
#include "support/pty_pair.h"

namespace zoedit::link {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using testing::EmulatorProcess;
using testing::runCli;

TransferOptions over(const std::string& path) {
    TransferOptions options;
    options.port = PortParams{path, 115200, 1, "8", "None", "1", 0};
    // Only a guard: every test ends on the link's own terms. A silence this
    // long means the far side stopped answering, and fails the test.
    options.timeout = 5s;
    return options;
}

// What an upload stores: the sent file followed by the receiver's filler up
// to a whole last block.
void expectStoredUpload(const Bytes& stored, const Bytes& sent) {
    ASSERT_GE(stored.size(), sent.size());
    EXPECT_EQ((stored.size() - 64) % 1024, 0u);
    EXPECT_LT(stored.size() - sent.size(), 1024u);
    EXPECT_TRUE(std::equal(sent.begin(), sent.end(), stored.begin()));
}

class TransferTest : public ::testing::Test {
protected:
    std::filesystem::path file(const Bytes& bytes, const std::string& name = "in.bin") {
        const auto path = dir.path(name);
        test::writeBytes(path, bytes);
        return path;
    }
    test::TempDir dir;
    // Each case takes a few seconds at most, even with its time-outs.
    test::HangGuard guard{std::string("TransferTest.") +
                              ::testing::UnitTest::GetInstance()->current_test_info()->name(),
                          std::chrono::seconds(20)};
};

TEST_F(TransferTest, SampleFileSentAndReceivedByteIdentical) {
    const char* source = std::getenv("ZOEDIT_SOURCE_DIR");
    if (source == nullptr) GTEST_SKIP() << "ZOEDIT_SOURCE_DIR not set";
    const std::filesystem::path sample = std::filesystem::path(source) / "examples/sample.bin";
    const Bytes bytes = test::readBytes(sample);
    ASSERT_GT(bytes.size(), 64u);

    // Usage type 0 is one the receiver link refuses to send ("Unknown Usage
    // Type"); the sample itself (usage type 3) goes out checked.
    Bytes unsendable = bytes;
    be::put16(unsendable.data() + 4, 0);
    const auto saved = dir.path("saved.bin");
    {
        EmulatorProcess receiver({"--save", saved.string()});
        ASSERT_TRUE(receiver.ok());
        const TransferResult refused =
            sendChannelFile(file(unsendable).string(), over(receiver.slavePath()));
        EXPECT_EQ(refused.message, "Unknown Usage Type");
    }
    {
        EmulatorProcess receiver({"--save", saved.string()});
        ASSERT_TRUE(receiver.ok());
        const TransferResult sent = sendChannelFile(sample.string(), over(receiver.slavePath()));
        EXPECT_TRUE(sent.ok()) << sent.message;
        EXPECT_EQ(sent.message, "Download OK");
        EXPECT_EQ(receiver.waitForExit(), 0);
    }
    EXPECT_EQ(test::readBytes(saved), bytes);

    EmulatorProcess receiver({"--send", sample.string()});
    ASSERT_TRUE(receiver.ok());
    const auto out = dir.path("out.bin");
    std::vector<std::uint32_t> positions;
    TransferOptions options = over(receiver.slavePath());
    options.progress = [&](std::uint32_t position, std::uint32_t) {
        positions.push_back(position);
    };
    const TransferResult got = receiveChannelFile(out.string(), options);
    EXPECT_TRUE(got.ok()) << got.message;
    // Checked and whole: the receiver's filler is not kept.
    EXPECT_EQ(test::readBytes(out), bytes);
    ASSERT_FALSE(positions.empty());
    EXPECT_EQ(positions.back(), (bytes.size() - 64 + 1023) / 1024 * 1029);
}

// A channel file fetched from the receiver passes the program's own check
// when it was checked on the way (C mode); unchecked (M mode) it keeps the
// receiver's filler, which the check then reports, unless there is none.
TEST_F(TransferTest, ReceivedChannelFilePassesItsOwnCheck) {
    std::vector<Bytes> files;
    for (std::size_t tv : {1u, 8u, 300u})
        files.push_back(testing::fileBytesOf(testing::buildDatabase({.tv = tv})));
    // 44-byte channels and 7-byte favourite entries reach every length.
    for (std::size_t n = 0; files.size() < 4; ++n) {
        ASSERT_LT(n, 4000u) << "no file of whole blocks";
        Bytes whole = testing::fileBytesOf(
            testing::buildDatabase({.tv = 1 + n / 4, .radio = 1, .groups = {{n % 4, 0}}}));
        if ((whole.size() - 64) % 1024 == 0) files.push_back(std::move(whole));
    }
    for (const std::uint16_t usage : {3, 0x80}) {
        for (Bytes file : files) {
            SCOPED_TRACE(std::to_string(usage) + ", " + std::to_string(file.size()) + " bytes");
            be::put16(file.data() + 4, usage);
            const auto path = this->file(file);
            EmulatorProcess receiver({"--send", path.string()});
            ASSERT_TRUE(receiver.ok());
            const auto out = dir.path("got.bin");
            const auto run = runCli({"receive", out.string(), "--port", receiver.slavePath()});
            EXPECT_EQ(run.status, 0) << run.err;
            const bool filler = (file.size() - 64) % 1024 != 0;
            const auto check = runCli({"check", out.string()});
            if (usage == 3 || !filler) {
                EXPECT_EQ(test::readBytes(out), file);
                EXPECT_EQ(check.status, 0) << check.out;
            } else {
                expectStoredUpload(test::readBytes(out), file);
                EXPECT_EQ(check.status, 1);
                EXPECT_NE(check.out.find("data_length"), std::string::npos) << check.out;
            }
        }
    }
}

TEST_F(TransferTest, EveryRejectionAndVerdictEndsTheDownloadWithItsMessage) {
    const auto path = file(test::makeLinkFile(3000));
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--reject", "hw"}, "H/W version error"}, {{"--reject", "sw"}, "S/W version error"},
        {{"--reject", "model"}, "Model ID error"}, {{"--verdict", "checksum"}, "Checksum error"},
        {{"--verdict", "verify"}, "Verify error"},
    };
    for (const auto& [flags, message] : cases) {
        EmulatorProcess receiver(flags);
        ASSERT_TRUE(receiver.ok());
        const TransferResult result = sendChannelFile(path.string(), over(receiver.slavePath()));
        EXPECT_EQ(result.outcome, TransferOutcome::Refused) << message;
        EXPECT_EQ(result.message, message);
    }
}

TEST_F(TransferTest, FramesSplitIntoPiecesAndNoiseStillTransfer) {
    const Bytes c_mode = test::makeLinkFile(5000, 3);
    const auto path = file(c_mode);
    for (const std::string split : {"1", "7", "600"}) {
        const auto saved = dir.path("saved" + split + ".bin");
        {
            EmulatorProcess receiver({"--split", split, "--noise", "3", "--save", saved.string()});
            ASSERT_TRUE(receiver.ok());
            const TransferResult sent = sendChannelFile(path.string(), over(receiver.slavePath()));
            EXPECT_TRUE(sent.ok()) << split << ": " << sent.message;
            receiver.waitForExit();
        }
        EXPECT_EQ(test::readBytes(saved), c_mode) << split;

        EmulatorProcess receiver({"--split", split, "--send", path.string()});
        ASSERT_TRUE(receiver.ok());
        const auto out = dir.path("out" + split + ".bin");
        const TransferResult got = receiveChannelFile(out.string(), over(receiver.slavePath()));
        EXPECT_EQ(got.message, "UpLoad Complete(C)!!") << split;
        expectStoredUpload(test::readBytes(out), c_mode);
    }
}

TEST_F(TransferTest, UploadWithAWrongChecksumKeepsTheDataAndSaysSo) {
    Bytes bad = test::makeLinkFile(2048, 1);
    be::put16(bad.data() + 6, static_cast<std::uint16_t>(be::get16(bad.data() + 6) + 1));
    const auto path = file(bad);
    EmulatorProcess receiver({"--send", path.string()});
    ASSERT_TRUE(receiver.ok());
    const auto out = dir.path("out.bin");
    const TransferResult got = receiveChannelFile(out.string(), over(receiver.slavePath()));
    EXPECT_EQ(got.outcome, TransferOutcome::Refused);
    EXPECT_EQ(got.message, "Checksum error");
    expectStoredUpload(test::readBytes(out), bad);
}

TEST_F(TransferTest, FarEndVanishingMidTransferIsAnErrorNotAHang) {
    const auto path = file(test::makeLinkFile(40000));
    for (const bool downloading : {true, false}) {
        EmulatorProcess receiver({"--baud", "9600", "--send", path.string()});
        ASSERT_TRUE(receiver.ok());
        TransferOptions options = over(receiver.slavePath());
        // Killed from the first block's progress report: mid-transfer
        // however fast the line turns out to be.
        bool killed = false;
        options.progress = [&](std::uint32_t, std::uint32_t) {
            if (!killed) receiver.kill();
            killed = true;
        };
        const auto out = dir.path("out.bin");
        test::writeBytes(out, {1, 2, 3});
        const TransferResult result = downloading ? sendChannelFile(path.string(), options)
                                                  : receiveChannelFile(out.string(), options);
        EXPECT_TRUE(killed) << "no block reported before the transfer ended";
        EXPECT_EQ(result.outcome, TransferOutcome::LineLost) << result.message;
        EXPECT_EQ(test::readBytes(out), (Bytes{1, 2, 3}));  // the old file is intact
    }
}

TEST_F(TransferTest, CancelEndsEitherDirectionAndKeepsTheOldFile) {
    const auto path = file(test::makeLinkFile(40000));
    for (const bool downloading : {true, false}) {
        EmulatorProcess receiver({"--baud", "9600", "--send", path.string()});
        ASSERT_TRUE(receiver.ok());
        std::atomic<bool> cancel{false};
        TransferOptions options = over(receiver.slavePath());
        options.cancel = &cancel;
        options.progress = [&](std::uint32_t, std::uint32_t) { cancel = true; };
        const auto out = dir.path("out.bin");
        test::writeBytes(out, {9, 9});
        const TransferResult result = downloading ? sendChannelFile(path.string(), options)
                                                  : receiveChannelFile(out.string(), options);
        EXPECT_EQ(result.outcome, TransferOutcome::Cancelled);
        EXPECT_EQ(test::readBytes(out), (Bytes{9, 9}));
    }
}

TEST_F(TransferTest, SilentReceiverTimesOut) {
    testing::PtyPair silent;  // nobody ever answers on the master
    ASSERT_TRUE(silent.ok());
    TransferOptions options = over(silent.slavePath());
    options.timeout = 200ms;
    const TransferResult sent = sendChannelFile(file(test::makeLinkFile(100)).string(), options);
    EXPECT_EQ(sent.outcome, TransferOutcome::TimedOut);
    const TransferResult got = receiveChannelFile(dir.path("out.bin").string(), options);
    EXPECT_EQ(got.outcome, TransferOutcome::TimedOut);
    EXPECT_FALSE(std::filesystem::exists(dir.path("out.bin")));
}

TEST_F(TransferTest, LineStoppedByTheReceiverFailsTheTransferAsLost) {
    testing::PtyPair pty;
    ASSERT_TRUE(pty.ok());
    // The far end answers every frame but reads none: once its buffers are
    // full the line takes nothing more.
    std::atomic<bool> done{false};
    std::thread far_end([&] {
        // Ready with each answer: the port's open may purge the first ones,
        // and the machine skips it once under way.
        const std::uint8_t answer[] = {0x01, 0x10};
        const auto guard = std::chrono::steady_clock::now() + 10s;
        while (!done && std::chrono::steady_clock::now() < guard) {
            std::this_thread::sleep_for(2ms);
            [[maybe_unused]] auto n = ::write(pty.masterFd(), answer, sizeof answer);
        }
    });
    const TransferResult sent =
        sendChannelFile(file(test::makeLinkFile(400000)).string(), over(pty.slavePath()));
    done = true;
    far_end.join();
    EXPECT_EQ(sent.outcome, TransferOutcome::LineLost) << sent.message;
    EXPECT_NE(sent.message.find("stopped"), std::string::npos) << sent.message;
}

TEST_F(TransferTest, RefusedFileAndPortAreReportedBeforeAnyTraffic) {
    testing::PtyPair pty;
    const TransferResult short_file =
        sendChannelFile(file(Bytes(10, 0x55)).string(), over(pty.slavePath()));
    EXPECT_EQ(short_file.outcome, TransferOutcome::Refused);
    EXPECT_EQ(short_file.message, "Invalid Data Format!!!");
    const TransferResult no_port =
        sendChannelFile(file(test::makeLinkFile(100)).string(), over("/dev/zoedit-none"));
    EXPECT_EQ(no_port.outcome, TransferOutcome::PortFailed);
    EXPECT_EQ(no_port.message.rfind("Failed initializing port.", 0), 0u);
}

// The command line on top: exit status and the closing message.
TEST_F(TransferTest, CommandLineSendAndReceive) {
    const Bytes bytes = test::makeLinkFile(3000, 0x80);
    const auto path = file(bytes);
    {
        EmulatorProcess receiver({});
        ASSERT_TRUE(receiver.ok());
        const auto run =
            runCli({"send", path.string(), "--port", receiver.slavePath(), "--timeout", "20"});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, "Download OK\n");
        EXPECT_NE(run.err.find("of 3000 bytes"), std::string::npos) << run.err;
    }
    {
        EmulatorProcess receiver({"--reject", "sw"});
        ASSERT_TRUE(receiver.ok());
        const auto run = runCli({"send", path.string(), "--port", receiver.slavePath()});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "S/W version error\n");
    }
    {
        EmulatorProcess receiver({"--send", path.string()});
        ASSERT_TRUE(receiver.ok());
        const auto out = dir.path("got.bin");
        const auto run = runCli({"receive", out.string(), "--port", receiver.slavePath()});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, "UpLoad Complete(M)!!\n");
        expectStoredUpload(test::readBytes(out), bytes);
    }
    testing::PtyPair silent;
    const auto timed_out =
        runCli({"send", path.string(), "--port", silent.slavePath(), "--timeout", "0.2"});
    EXPECT_EQ(timed_out.status, 4);
    const auto no_port =
        runCli({"receive", dir.path("x.bin").string(), "--port", "/dev/zoedit-none"});
    EXPECT_EQ(no_port.status, 2);
}

}  // namespace
}  // namespace zoedit::link
