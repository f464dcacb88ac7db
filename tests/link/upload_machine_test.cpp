#include "link/upload_machine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

#include "database/big_endian.h"
#include "database/channel_file.h"
#include "support/link_fixture.h"

namespace zoedit::link {
namespace {

using Bytes = std::vector<std::uint8_t>;
using State = UploadMachine::State;
namespace fs = std::filesystem;

Bytes frameOf(const Bytes& data, std::size_t offset) {
    Bytes frame{LINK_BLOCK, 0x00, 0xFF};
    for (std::size_t i = 0; i < 1024; ++i)
        frame.push_back(offset + i < data.size() ? data[offset + i] : 0xFF);
    frame.push_back(0x00);
    frame.push_back(0xFF);
    return frame;
}

class UploadMachineTest : public ::testing::Test {
protected:
    UploadMachineTest() {
        machine.arm(out.string());
        machine.start();
    }

    void feed(const Bytes& batch) { machine.step(batch); }

    void sendHeader(const Bytes& file) {
        Bytes frame{LINK_HEADER};
        frame.insert(frame.end(), file.begin(), file.begin() + 64);
        feed(frame);
    }

    // Header and every block of `file`, one frame a batch.
    void sendAll(const Bytes& file) {
        sendHeader(file);
        for (std::size_t off = 64; off < file.size(); off += 1024) feed(frameOf(file, off));
    }

    // Directory entries other than the output file: leftovers of a transfer.
    std::vector<fs::path> strays() const {
        std::vector<fs::path> found;
        for (const auto& e : fs::directory_iterator(dir.dir()))
            if (e.path() != out) found.push_back(e.path());
        return found;
    }

    TransferFlags flags;
    test::RecordingEvents events;
    std::vector<Bytes> sent;
    test::TempDir dir;
    fs::path out = dir.path("received.bin");
    UploadMachine machine{
        flags, [this](std::span<const std::uint8_t> b) { sent.emplace_back(b.begin(), b.end()); },
        events};
};

TEST_F(UploadMachineTest, WholeUploadInCMode) {
    EXPECT_EQ(flags.m_bUploadActive, 1);
    ASSERT_EQ(sent, (std::vector<Bytes>{{LINK_READY}}));
    const Bytes file = test::makeLinkFile(2048);
    sendHeader(file);
    EXPECT_EQ(machine.state(), State::ReceiveBlocks);
    EXPECT_EQ(sent.back(), Bytes{LINK_ACK});
    feed(frameOf(file, 64));
    feed(frameOf(file, 64 + 1024));
    EXPECT_EQ(events.positions, (std::vector<std::uint32_t>{1029, 2058}));
    EXPECT_EQ(sent.size(), 4u);
    EXPECT_FALSE(fs::exists(out));  // nothing in place before the verdict
    EXPECT_EQ(machine.verdict(), TransferVerdict::Pending);

    feed({LINK_END});
    EXPECT_EQ(sent.back(), Bytes{LINK_DONE});
    EXPECT_EQ(machine.verdict(), TransferVerdict::Done);
    EXPECT_EQ(events.messages, (std::vector<std::string>{"UpLoad Complete(C)!!"}));
    EXPECT_EQ(events.closes, 1);
    EXPECT_EQ(flags.m_bUploadActive, 0);
    EXPECT_EQ(machine.state(), State::CollectHeader);
    EXPECT_EQ(test::readBytes(out), file);
    EXPECT_TRUE(strays().empty());
}

// A received file put over an existing one keeps that one as a backup; the
// same file received again adds none; a backup that cannot be made is said
// once and the received file is stored all the same.
TEST_F(UploadMachineTest, ReceivedFileOverAnExistingOneLeavesABackup) {
    const Bytes earlier = test::makeLinkFile(1024, 3, 0, 7);
    test::writeBytes(out, earlier);
    const BackupStore store(dir.path("backups").string(), 10);
    const Bytes file = test::makeLinkFile(2048);
    for (int round = 0; round < 2; ++round) {
        events = {};
        machine.keepBackups(store);
        machine.arm(out.string());
        machine.start();
        sendAll(file);
        feed({LINK_END});
        EXPECT_EQ(events.messages, (std::vector<std::string>{"UpLoad Complete(C)!!"}));
        EXPECT_EQ(test::readBytes(out), file);
    }
    const auto entries = store.list(out.string());
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(test::readBytes(entries[0].path), earlier);

    test::writeBytes(out, earlier);
    test::writeBytes(dir.path("plain"), {'x'});
    events = {};
    machine.keepBackups(BackupStore(dir.path("plain").string(), 10));
    machine.arm(out.string());
    machine.start();
    sendAll(file);
    feed({LINK_END});
    ASSERT_EQ(events.messages.size(), 2u);
    EXPECT_NE(events.messages[0].find("no backup of " + out.string()), std::string::npos);
    EXPECT_EQ(events.messages[1], "UpLoad Complete(C)!!");
    EXPECT_EQ(machine.backupWarning(), events.messages[0]);
    EXPECT_EQ(test::readBytes(out), file);
}

// The filler of the last block lies past data_length: stored, but not summed.
TEST_F(UploadMachineTest, StoredFileKeepsTheLastBlocksFiller) {
    const Bytes file = test::makeLinkFile(1500);
    sendAll(file);
    feed({LINK_END});
    const Bytes stored = test::readBytes(out);
    ASSERT_EQ(stored.size(), 64u + 2048);
    EXPECT_TRUE(std::equal(file.begin(), file.end(), stored.begin()));
    EXPECT_EQ(events.messages, (std::vector<std::string>{"UpLoad Complete(C)!!"}));
}

// A file that describes itself and whose checksum was checked and matched is
// stored as the file it is: the filler of its last block is cut off. Sizes
// around the block edges, one a whole number of blocks (nothing to cut).
TEST_F(UploadMachineTest, CheckedSelfDescribingFileIsStoredWithoutFiller) {
    for (std::size_t data : {18u, 1023u, 1024u, 1025u, 2048u, 3001u}) {
        SCOPED_TRACE(data);
        events = {};
        machine.arm(out.string());
        machine.start();
        Bytes file = test::makeLinkFile(data, 3, 0, static_cast<std::uint32_t>(data));
        test::sealLinkFile(file);
        sendAll(file);
        feed({LINK_END});
        EXPECT_EQ(events.messages, (std::vector<std::string>{"UpLoad Complete(C)!!"}));
        EXPECT_EQ(test::readBytes(out), file);
        EXPECT_TRUE(strays().empty());
    }
}

// Each condition of the cut, failing on its own, keeps the whole image: the
// data the receiver sent followed by the filler up to the last block's end.
TEST_F(UploadMachineTest, AnyDoubtKeepsTheWholeImage) {
    struct Case {
        const char* why;
        std::uint16_t usage;
        std::function<void(Bytes&)> spoil;  // after sealing
        bool good_checksum;
    };
    // Spoils one thing only: the trailer and checksum are made right again.
    const auto resum = [](Bytes& f) {
        const std::span<const std::uint8_t> data = std::span<const std::uint8_t>(f).subspan(64);
        be::put16(&f[f.size() - 2], crc16Arc(data.first(data.size() - 2)));
        be::put16(&f[6], byteSum16(data));
    };
    const Case cases[] = {
        {"M mode: nothing was checked", 0x80, [](Bytes&) {}, true},
        {"C mode, checksum wrong", 3, [](Bytes& f) { f[6] ^= 0x01; }, false},
        {"format id not accepted", 3,
         [&](Bytes& f) {
             f[64] ^= 0x01;
             resum(f);
         },
         true},
        {"tail_length not data_length - 16", 3,
         [&](Bytes& f) {
             f[79] ^= 0x01;
             resum(f);
         },
         true},
        {"CRC trailer wrong", 3,
         [](Bytes& f) {
             f[f.size() - 1] ^= 0x01;
             be::put16(&f[6], byteSum16(std::span<const std::uint8_t>(f).subspan(64)));
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        events = {};
        machine.arm(out.string());
        machine.start();
        Bytes file = test::makeLinkFile(1500, c.usage);
        test::sealLinkFile(file);
        c.spoil(file);
        sendAll(file);
        feed({LINK_END});
        EXPECT_EQ(sent.back(), Bytes{c.good_checksum ? LINK_DONE : LINK_BAD_CHECKSUM});
        const Bytes stored = test::readBytes(out);
        ASSERT_EQ(stored.size(), 64u + 2048);
        EXPECT_TRUE(std::equal(file.begin(), file.end(), stored.begin()));
        machine.cancel();
    }
    // A file that announces less than the blocks before the last one hold:
    // the cut would take whole blocks of data, so nothing is cut.
    Bytes short_file = test::makeLinkFile(1000);
    test::sealLinkFile(short_file);
    Bytes sent_image = short_file;
    for (std::size_t i = 0; i < 2000; ++i) sent_image.push_back(static_cast<std::uint8_t>(i));
    events = {};
    machine.arm(out.string());
    machine.start();
    sendAll(sent_image);
    feed({LINK_END});
    EXPECT_EQ(events.messages, (std::vector<std::string>{"UpLoad Complete(C)!!"}));
    const Bytes stored = test::readBytes(out);
    ASSERT_EQ(stored.size(), 64u + 3072);
    EXPECT_TRUE(std::equal(sent_image.begin(), sent_image.end(), stored.begin()));
}

TEST_F(UploadMachineTest, HeaderCollection) {
    const Bytes file = test::makeLinkFile(100);
    // Three stray bytes, then the header without its frame byte.
    Bytes batch{0x00, 0x00, 0x00};
    batch.insert(batch.end(), file.begin(), file.begin() + 64);
    feed(batch);
    EXPECT_EQ(machine.state(), State::ReceiveBlocks);
    EXPECT_EQ(machine.header().data_length, 100u);
    EXPECT_EQ(sent.back(), Bytes{LINK_ACK});
}

TEST_F(UploadMachineTest, HeaderInPiecesAcrossBatches) {
    const Bytes file = test::makeLinkFile(100);
    Bytes frame{LINK_HEADER};
    frame.insert(frame.end(), file.begin(), file.begin() + 64);
    feed({0x01});  // a lone stray byte is dropped
    feed(Bytes(frame.begin(), frame.begin() + 10));
    EXPECT_EQ(machine.collected(), 9u);
    feed(Bytes(frame.begin() + 10, frame.begin() + 40));
    EXPECT_EQ(sent.size(), 1u);
    feed(Bytes(frame.begin() + 40, frame.end()));
    EXPECT_EQ(machine.state(), State::ReceiveBlocks);
    EXPECT_EQ(machine.header().checksum,
              parseLinkHeader(std::span<const std::uint8_t, 64>(file.data(), 64)).checksum);
}

TEST_F(UploadMachineTest, StrayByteBeforeTheMagicSpoilsTheHeader) {
    const Bytes file = test::makeLinkFile(100);
    Bytes batch{0x07};
    batch.insert(batch.end(), file.begin(), file.begin() + 64);
    feed(batch);  // taken whole: the header starts 0x07 and is discarded
    EXPECT_EQ(machine.state(), State::CollectHeader);
    EXPECT_EQ(machine.collected(), 0u);
    EXPECT_EQ(sent.size(), 1u);
    EXPECT_TRUE(strays().empty());
    // A clean header afterwards is accepted.
    sendHeader(file);
    EXPECT_EQ(machine.state(), State::ReceiveBlocks);
}

TEST_F(UploadMachineTest, BlockBatchBoundaries) {
    const Bytes file = test::makeLinkFile(3000);
    sendHeader(file);
    const Bytes first = frameOf(file, 64);
    feed(Bytes(first.begin(), first.begin() + 600));
    EXPECT_EQ(sent.size(), 2u);
    feed(Bytes(first.begin() + 600, first.end()));
    EXPECT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent.back(), Bytes{LINK_ACK});

    // A piece of the next block that starts with the end byte is block data.
    Bytes second = frameOf(file, 64 + 1024);
    feed(Bytes(second.begin(), second.begin() + 5));
    feed(Bytes{LINK_END, 0x44});
    EXPECT_EQ(machine.state(), State::ReceiveBlocks);
    EXPECT_EQ(machine.collected(), 7u);
    EXPECT_EQ(sent.size(), 3u);

    // A batch that overruns the frame: counted, not kept, one ack.
    Bytes rest(second.begin() + 7, second.end());
    rest[0] = LINK_END;
    rest[1] = 0x44;
    rest.insert(rest.end(), {0x99, 0x98, 0x97});
    feed(rest);
    EXPECT_EQ(sent.size(), 4u);
    EXPECT_EQ(machine.runningTotal(), 1029u + 1032u);
    EXPECT_EQ(machine.collected(), 0u);
}

TEST_F(UploadMachineTest, ProgressCountsWholeFrames) {
    const Bytes file = test::makeLinkFile(5 * 1024);
    sendAll(file);
    ASSERT_EQ(events.positions.size(), 5u);
    for (std::size_t k = 1; k <= 5; ++k) EXPECT_EQ(events.positions[k - 1], 1029u * k);
}

TEST_F(UploadMachineTest, ChecksumMismatchStoresTheDataAndSaysSo) {
    Bytes file = test::makeLinkFile(1024);
    file[100] ^= 0x01;
    sendAll(file);
    feed({LINK_END});
    EXPECT_EQ(sent.back(), Bytes{LINK_BAD_CHECKSUM});
    EXPECT_EQ(machine.verdict(), TransferVerdict::ChecksumError);
    EXPECT_TRUE(events.messages.empty());
    EXPECT_EQ(events.status, "Checksum error");
    EXPECT_EQ(events.closes, 0);
    EXPECT_EQ(flags.m_bUploadActive, 1);  // armed until the user cancels
    EXPECT_EQ(test::readBytes(out), file);
    EXPECT_TRUE(strays().empty());
    // Bytes after the verdict find the file closed and are ignored.
    const auto before = sent.size();
    feed({LINK_END});
    feed(frameOf(file, 64));
    EXPECT_EQ(sent.size(), before);
    machine.cancel();
    EXPECT_EQ(flags.m_bUploadActive, 0);
    EXPECT_EQ(test::readBytes(out), file);
}

TEST_F(UploadMachineTest, MModeSkipsTheChecksum) {
    for (std::uint16_t usage : {0x0080, 0x0000, 0x0180}) {
        SCOPED_TRACE(usage);
        events = {};
        machine.arm(out.string());
        machine.start();
        Bytes file = test::makeLinkFile(1024, usage);
        file[6] ^= 0xFF;  // a checksum that does not match
        sendAll(file);
        feed({LINK_END});
        EXPECT_EQ(sent.back(), Bytes{LINK_DONE});
        EXPECT_EQ(events.messages, (std::vector<std::string>{"UpLoad Complete(M)!!"}));
        EXPECT_EQ(machine.verdict(), TransferVerdict::Done);
        EXPECT_EQ(events.closes, 1);
    }
}

TEST_F(UploadMachineTest, CancelLeavesTheOldFileAlone) {
    const Bytes old = {'o', 'l', 'd'};
    const Bytes file = test::makeLinkFile(3000);
    const std::vector<int> frames_before_cancel = {-1, 0, 1, 3};  // -1: mid-header
    for (int frames : frames_before_cancel) {
        SCOPED_TRACE(frames);
        test::writeBytes(out, old);
        machine.arm(out.string());
        machine.start();
        if (frames < 0) {
            feed({LINK_HEADER, 0x55, 0xAA});
        } else {
            sendHeader(file);
            for (int i = 0; i < frames; ++i) feed(frameOf(file, 64 + 1024 * i));
        }
        feed({LINK_BLOCK, 0x00});
        sent.clear();
        machine.cancel();
        EXPECT_TRUE(sent.empty());
        EXPECT_EQ(machine.state(), State::CollectHeader);
        EXPECT_EQ(machine.collected(), 0u);
        EXPECT_EQ(flags.m_bUploadActive, 0);
        EXPECT_EQ(test::readBytes(out), old);
        EXPECT_TRUE(strays().empty());
    }
}

TEST_F(UploadMachineTest, WorkFileNeverClobbersAFileBesideTheOutput) {
    const Bytes mine = {'k', 'e', 'e', 'p'};
    test::writeBytes(dir.path("received.bin.part"), mine);
    sendHeader(test::makeLinkFile(0));
    machine.cancel();
    EXPECT_EQ(test::readBytes(dir.path("received.bin.part")), mine);
    EXPECT_EQ(strays().size(), 1u);
}

TEST_F(UploadMachineTest, UncreatableOutputIsReportedByName) {
    const std::string path = (dir.dir() / "missing" / "out.bin").string();
    machine.arm(path);
    machine.start();
    sent.clear();
    sendHeader(test::makeLinkFile(100));
    ASSERT_EQ(events.messages.size(), 1u);
    EXPECT_NE(events.messages[0].find(path), std::string::npos);
    EXPECT_EQ(machine.verdict(), TransferVerdict::FileRefused);
    EXPECT_EQ(flags.m_bUploadActive, 0);
    EXPECT_EQ(machine.state(), State::CollectHeader);
    EXPECT_TRUE(sent.empty());  // the header is not acknowledged
}

TEST_F(UploadMachineTest, ClosedPortOnlyComplains) {
    const Bytes file = test::makeLinkFile(100);
    Bytes frame{LINK_HEADER};
    frame.insert(frame.end(), file.begin(), file.begin() + 64);
    machine.step(frame, false);
    EXPECT_EQ(events.messages, (std::vector<std::string>{"You must initialize the serial port."}));
    EXPECT_EQ(machine.collected(), 0u);
    EXPECT_EQ(sent.size(), 1u);
}

}  // namespace
}  // namespace zoedit::link
