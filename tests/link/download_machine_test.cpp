#include "link/download_machine.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "support/link_fixture.h"

namespace zoedit::link {
namespace {

using Bytes = std::vector<std::uint8_t>;
using State = DownloadMachine::State;

class DownloadMachineTest : public ::testing::Test {
protected:
    DownloadMachine machine{
        flags, [this](std::span<const std::uint8_t> b) { sent.emplace_back(b.begin(), b.end()); },
        events};

    void feed(Bytes batch) { machine.step(batch); }

    // Prepares `file` and takes the machine through the header to its first block.
    void startTransfer(const Bytes& file) {
        ASSERT_TRUE(machine.prepare(file));
        feed({LINK_READY});
        feed({LINK_ACK});
        ASSERT_EQ(machine.state(), State::BlockSent);
    }

    Bytes expectedBlock(const Bytes& image, std::size_t offset) {
        Bytes frame{LINK_BLOCK, 0x00, 0xFF};
        frame.insert(frame.end(), image.begin() + offset, image.begin() + offset + 1024);
        frame.push_back(0x00);
        frame.push_back(0xFF);
        return frame;
    }

    TransferFlags flags;
    test::RecordingEvents events;
    std::vector<Bytes> sent;
};

TEST_F(DownloadMachineTest, ImagePadsWithFFToOneMoreBlockThanTheDataFills) {
    const Bytes file = test::makeLinkFile(2000);
    ASSERT_TRUE(machine.prepare(file));
    EXPECT_EQ(machine.imageSize(), 2112u);
    EXPECT_TRUE(std::equal(file.begin(), file.end(), machine.image().begin()));
    for (std::size_t i = file.size(); i < 2112; ++i) ASSERT_EQ(machine.image()[i], 0xFF);

    ASSERT_TRUE(machine.prepare(test::makeLinkFile(2048)));
    EXPECT_EQ(machine.imageSize(), 64u + 3 * 1024);
    ASSERT_TRUE(machine.prepare(test::makeLinkFile(0)));
    EXPECT_EQ(machine.imageSize(), 64u + 1024);
    EXPECT_EQ(flags.m_bDownloadActive, 1);
    EXPECT_EQ(machine.state(), State::WaitReady);
    EXPECT_EQ(machine.offset(), 64u);
}

TEST_F(DownloadMachineTest, WholeTransferByteForByte) {
    const Bytes file = test::makeLinkFile(2000);
    flags.m_bUploadActive = 1;
    ASSERT_TRUE(machine.prepare(file));
    EXPECT_EQ(flags.m_bUploadActive, 0);
    EXPECT_EQ(machine.progressTotal(), 2000u);

    feed({LINK_READY});
    ASSERT_EQ(sent.size(), 1u);
    Bytes header{LINK_HEADER};
    header.insert(header.end(), file.begin(), file.begin() + 64);
    EXPECT_EQ(sent[0], header);

    feed({LINK_ACK});
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1], expectedBlock(machine.image(), 64));
    EXPECT_TRUE(events.positions.empty());

    feed({LINK_ACK});
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[2], expectedBlock(machine.image(), 1088));
    EXPECT_TRUE(
        std::all_of(sent[2].end() - 2 - 48, sent[2].end() - 2, [](auto b) { return b == 0xFF; }));
    EXPECT_EQ(events.positions, (std::vector<std::uint32_t>{1088}));

    feed({LINK_ACK});
    EXPECT_EQ(sent.back(), Bytes{LINK_END});
    EXPECT_EQ(events.positions, (std::vector<std::uint32_t>{1088, 2000}));
    EXPECT_EQ(machine.state(), State::EndSent);
    EXPECT_EQ(machine.verdict(), TransferVerdict::Pending);

    feed({LINK_ACK, LINK_ACK, LINK_DONE});
    EXPECT_EQ(machine.verdict(), TransferVerdict::Done);
    EXPECT_EQ(events.messages, (std::vector<std::string>{"Download OK"}));
    EXPECT_EQ(events.closes, 1);
    EXPECT_EQ(machine.state(), State::WaitReady);
    EXPECT_EQ(machine.offset(), 64u);
    EXPECT_EQ(flags.m_bDownloadActive, 0);
    EXPECT_EQ(sent.size(), 4u);
}

TEST_F(DownloadMachineTest, WholeBlockDataEndsWithABlockOfFF) {
    startTransfer(test::makeLinkFile(2048));
    feed({LINK_ACK});
    feed({LINK_ACK});
    ASSERT_EQ(sent.size(), 4u);  // header and three blocks
    EXPECT_TRUE(
        std::all_of(sent[3].begin() + 3, sent[3].end() - 2, [](auto b) { return b == 0xFF; }));
    feed({LINK_ACK});
    EXPECT_EQ(sent.back(), Bytes{LINK_END});
    EXPECT_EQ(events.positions.back(), 2048u);
}

TEST_F(DownloadMachineTest, BatchBoundaries) {
    ASSERT_TRUE(machine.prepare(test::makeLinkFile(3000)));
    // Stray bytes before the ready byte, an ack after it: only the header goes out.
    feed({0x00, LINK_READY, LINK_ACK});
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(machine.state(), State::HeaderSent);
    // Noise while waiting for the header's answer is skipped.
    feed({0x00, 0x55, LINK_DONE});
    EXPECT_EQ(sent.size(), 1u);
    // Several acks in one batch send exactly one block.
    feed({0x42, LINK_ACK, LINK_ACK, LINK_ACK});
    EXPECT_EQ(sent.size(), 2u);
    // Verdicts count for nothing until the end byte is out.
    feed({LINK_BAD_CHECKSUM, LINK_BAD_VERIFY, LINK_DONE});
    EXPECT_EQ(sent.size(), 2u);
    EXPECT_EQ(machine.state(), State::BlockSent);
    EXPECT_TRUE(events.messages.empty());
    // An empty batch changes nothing.
    feed({});
    EXPECT_EQ(sent.size(), 2u);
}

TEST_F(DownloadMachineTest, StaleReadyByteStartsTheNextDownload) {
    ASSERT_TRUE(machine.prepare(test::makeLinkFile(100)));
    feed({LINK_READY, 0x00});  // left in the queue from before, drained with new bytes
    EXPECT_EQ(machine.state(), State::HeaderSent);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0][0], LINK_HEADER);
}

TEST_F(DownloadMachineTest, HeaderRejections) {
    const std::pair<std::uint8_t, const char*> cases[] = {
        {LINK_BAD_HW, "H/W version error"},
        {LINK_BAD_SW, "S/W version error"},
        {LINK_BAD_MODEL, "Model ID error"},
    };
    for (const auto& [byte, text] : cases) {
        SCOPED_TRACE(text);
        events = {};
        sent.clear();
        ASSERT_TRUE(machine.prepare(test::makeLinkFile(100)));
        feed({LINK_READY});
        feed({0x00, byte, LINK_ACK});
        EXPECT_EQ(events.messages, (std::vector<std::string>{text}));
        EXPECT_EQ(machine.verdict(), TransferVerdict::HeaderRejected);
        EXPECT_EQ(flags.m_bDownloadActive, 0);
        EXPECT_EQ(machine.state(), State::WaitReady);
        EXPECT_EQ(events.closes, 0);  // the dialog stays until Cancel
        EXPECT_EQ(sent.size(), 1u);   // the ack after the rejection sends nothing
    }
}

TEST_F(DownloadMachineTest, FailingVerdictsKeepTheDialogOpen) {
    const std::tuple<std::uint8_t, const char*, TransferVerdict> cases[] = {
        {LINK_BAD_CHECKSUM, "Checksum error", TransferVerdict::ChecksumError},
        {LINK_BAD_VERIFY, "Verify error", TransferVerdict::VerifyError},
    };
    for (const auto& [byte, text, verdict] : cases) {
        SCOPED_TRACE(text);
        events = {};
        startTransfer(test::makeLinkFile(10));
        feed({LINK_ACK});
        ASSERT_EQ(machine.state(), State::EndSent);
        feed({LINK_ACK, 0x00, byte, LINK_DONE});
        EXPECT_EQ(events.messages, (std::vector<std::string>{text}));
        EXPECT_EQ(machine.verdict(), verdict);
        EXPECT_EQ(events.closes, 0);
        EXPECT_EQ(machine.state(), State::WaitReady);
        EXPECT_EQ(machine.offset(), 64u);
        EXPECT_EQ(flags.m_bDownloadActive, 0);
    }
}

TEST_F(DownloadMachineTest, MModeFinalProgress) {
    startTransfer(test::makeLinkFile(100, 0x80, 0));
    EXPECT_EQ(machine.mode(), TransferMode::M);
    EXPECT_EQ(machine.progressTotal(), 100u);
    feed({LINK_ACK});
    EXPECT_EQ(events.positions, (std::vector<std::uint32_t>{0, 100}));

    events = {};
    startTransfer(test::makeLinkFile(100, 0x80, 5000));
    EXPECT_EQ(machine.progressTotal(), 5000u);
    feed({LINK_ACK});
    EXPECT_EQ(events.positions, (std::vector<std::uint32_t>{5000}));
}

TEST_F(DownloadMachineTest, RefusedFiles) {
    struct Case {
        const char* name;
        Bytes file;
        const char* message;
    };
    Bytes bad_magic = test::makeLinkFile(100);
    bad_magic[0] = 0x54;
    const Case cases[] = {
        {"empty", {}, "Invalid Data Format!!!"},
        {"shorter than its header", Bytes(63, 0x55), "Invalid Data Format!!!"},
        {"wrong magic", bad_magic, "Invalid Data Format!!!"},
        {"usage type 2", test::makeLinkFile(100, 2), "Invalid Data Format"},
        {"usage type 0x0104", test::makeLinkFile(100, 0x0104), "Invalid Data Format"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        events = {};
        EXPECT_FALSE(machine.prepare(c.file));
        EXPECT_EQ(events.messages, (std::vector<std::string>{c.message}));
        EXPECT_EQ(machine.verdict(), TransferVerdict::FileRefused);
        EXPECT_EQ(flags.m_bDownloadActive, 0);
    }
    events = {};
    EXPECT_FALSE(machine.prepareFile("/nonexistent/dir/file.bin"));
    EXPECT_TRUE(events.messages.empty());
    EXPECT_EQ(machine.verdict(), TransferVerdict::FileRefused);
    EXPECT_EQ(flags.m_bDownloadActive, 0);
    // A device chosen by mistake is refused once it passes any sane file size.
    EXPECT_FALSE(machine.prepareFile("/dev/zero"));
    EXPECT_EQ(events.messages, (std::vector<std::string>{"Invalid Data Format!!!"}));
    test::TempDir dir;
    const Bytes file = test::makeLinkFile(3000);
    test::writeBytes(dir.path("f.bin"), file);
    EXPECT_TRUE(machine.prepareFile(dir.path("f.bin").string()));
    EXPECT_EQ(machine.verdict(), TransferVerdict::Pending);
    EXPECT_TRUE(std::equal(file.begin(), file.end(), machine.image().begin()));
    EXPECT_EQ(flags.m_bDownloadActive, 1);
}

TEST_F(DownloadMachineTest, UnknownUsageTypeEndsOnlyTheDownload) {
    for (std::uint16_t usage : {0x0103, 0x0000, 0x0001, 0x0180}) {
        SCOPED_TRACE(usage);
        events = {};
        sent.clear();
        ASSERT_TRUE(machine.prepare(test::makeLinkFile(100, usage)));
        feed({0x00});
        EXPECT_TRUE(events.messages.empty());
        feed({LINK_READY});
        EXPECT_EQ(events.messages, (std::vector<std::string>{"Unknown Usage Type"}));
        EXPECT_EQ(machine.verdict(), TransferVerdict::UnknownUsage);
        EXPECT_EQ(events.closes, 1);
        EXPECT_EQ(flags.m_bDownloadActive, 0);
        EXPECT_EQ(machine.state(), State::WaitReady);
        EXPECT_TRUE(sent.empty());
    }
}

TEST_F(DownloadMachineTest, ClosedPortOnlyComplains) {
    ASSERT_TRUE(machine.prepare(test::makeLinkFile(100)));
    machine.step(Bytes{LINK_READY}, false);
    EXPECT_EQ(events.messages, (std::vector<std::string>{"You must initialize the serial port."}));
    EXPECT_EQ(machine.state(), State::WaitReady);
    EXPECT_TRUE(sent.empty());
}

TEST_F(DownloadMachineTest, CancelInEveryStateReturnsToRest) {
    const Bytes file = test::makeLinkFile(3000);
    const std::vector<std::vector<Bytes>> roads = {
        {},                                                              // WaitReady
        {{LINK_READY}},                                                  // HeaderSent
        {{LINK_READY}, {LINK_ACK}},                                      // BlockSent, first block
        {{LINK_READY}, {LINK_ACK}, {LINK_ACK}},                          // BlockSent, later block
        {{LINK_READY}, {LINK_ACK}, {LINK_ACK}, {LINK_ACK}, {LINK_ACK}},  // EndSent
    };
    for (std::size_t i = 0; i < roads.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(machine.prepare(file));
        for (const auto& batch : roads[i]) feed(batch);
        sent.clear();
        machine.cancel();
        EXPECT_EQ(machine.state(), State::WaitReady);
        EXPECT_EQ(machine.offset(), 64u);
        EXPECT_EQ(flags.m_bDownloadActive, 0);
        EXPECT_TRUE(sent.empty());
    }
    // After a cancel the next download starts from the first block again.
    ASSERT_TRUE(machine.prepare(file));
    feed({LINK_READY});
    feed({LINK_ACK});
    EXPECT_EQ(sent.back(), expectedBlock(machine.image(), 64));
}

TEST(LinkFrames, VersionTextsAndHeaderRoundTrip) {
    EXPECT_EQ(hardwareVersionText(0x1234), "1.34.23");
    EXPECT_EQ(softwareVersionText(0x1234), "1.34.34");
    EXPECT_EQ(hardwareVersionText(0x7), "0.07.00");
    EXPECT_EQ(softwareVersionText(0x12345), "1.34.45");

    EXPECT_EQ(downloadPositionText(0, 2000), "0/2000");
    EXPECT_EQ(uploadCountText(1029), "1029 ");

    const Bytes file = test::makeLinkFile(10, 0x80, 77);
    const FileHeader header = parseLinkHeader(std::span<const std::uint8_t, 64>(file.data(), 64));
    EXPECT_EQ(header.secondary_length, 77u);
    EXPECT_EQ(modelIdText(header), "TEST-MODEL 42");
    const auto bytes = linkHeaderBytes(header);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), file.begin()));
}

}  // namespace
}  // namespace zoedit::link
