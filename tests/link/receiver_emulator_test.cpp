// The PC machines against the receiver emulator in memory: bytes shuttled
// both ways until both sides are quiet.
#include "link/receiver_emulator.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "link/download_machine.h"
#include "link/upload_machine.h"
#include "support/link_fixture.h"

namespace zoedit::link {
namespace {

using Bytes = std::vector<std::uint8_t>;

// One line with a receiver at its far end. `join` hands the PC everything
// pending as one batch, as a port handler draining its queue does; otherwise
// each piece the receiver delivered is a batch of its own.
class Line {
public:
    Line(ReceiverOptions options, bool join)
        : join_(join), receiver_(std::move(options), [this](std::span<const std::uint8_t> b) {
              to_pc_.emplace_back(b.begin(), b.end());
          }) {}

    SendBytes pcSend() {
        return [this](std::span<const std::uint8_t> b) {
            to_receiver_.emplace_back(b.begin(), b.end());
        };
    }

    template <typename Machine>
    void run(Machine& pc) {
        for (int rounds = 0; rounds < 100000 && (!to_pc_.empty() || !to_receiver_.empty());
             ++rounds) {
            while (!to_receiver_.empty()) {
                Bytes b = std::move(to_receiver_.front());
                to_receiver_.pop_front();
                receiver_.receive(b);
            }
            if (to_pc_.empty()) continue;
            Bytes batch;
            if (join_) {
                for (const auto& piece : to_pc_)
                    batch.insert(batch.end(), piece.begin(), piece.end());
                to_pc_.clear();
            } else {
                batch = std::move(to_pc_.front());
                to_pc_.pop_front();
            }
            pc.step(batch);
        }
    }

    ReceiverEmulator& receiver() { return receiver_; }

private:
    bool join_;
    std::deque<Bytes> to_pc_, to_receiver_;
    ReceiverEmulator receiver_;
};

// A whole upload of the receiver's file into a scratch folder.
struct UploadRun {
    explicit UploadRun(Line& on) : line(on), pc(flags, on.pcSend(), events) {}
    void run() {
        pc.arm(dir.path("out.bin").string());
        pc.start();
        line.run(pc);
    }

    Line& line;
    test::TempDir dir;
    TransferFlags flags;
    test::RecordingEvents events;
    UploadMachine pc;
};

struct Shape {
    std::size_t split;
    std::size_t noise;
    bool join;
};
const Shape kShapes[] = {{0, 0, false}, {1, 0, false}, {7, 3, false},  {600, 1, false},
                         {0, 5, true},  {1, 2, true},  {1000, 0, true}};

std::string describe(const Shape& s, std::size_t size) {
    return "split " + std::to_string(s.split) + " noise " + std::to_string(s.noise) +
           (s.join ? " joined" : " piecewise") + " data " + std::to_string(size);
}

TEST(ReceiverEmulator, DownloadArrivesByteIdentical) {
    for (std::size_t size : {0, 1, 1023, 1024, 2000, 2048, 5000}) {
        for (const Shape& shape : kShapes) {
            SCOPED_TRACE(describe(shape, size));
            test::TempDir dir;
            ReceiverOptions options;
            options.split = shape.split;
            options.noise = shape.noise;
            options.save_path = dir.path("stored.bin").string();
            Line line(options, shape.join);
            TransferFlags flags;
            test::RecordingEvents events;
            DownloadMachine pc(flags, line.pcSend(), events);
            const Bytes file = test::makeLinkFile(size, 3, 0, static_cast<std::uint32_t>(size));
            ASSERT_TRUE(pc.prepare(file));
            line.receiver().announce();
            line.run(pc);
            EXPECT_EQ(events.messages, (std::vector<std::string>{"Download OK"}));
            EXPECT_EQ(flags.m_bDownloadActive, 0);
            EXPECT_EQ(line.receiver().received(), file);
            EXPECT_EQ(test::readBytes(options.save_path), file);
            EXPECT_TRUE(line.receiver().idle());
        }
    }
}

TEST(ReceiverEmulator, UploadArrivesByteIdentical) {
    for (std::size_t size : {0, 1, 1024, 2000, 3072}) {
        for (const Shape& shape : kShapes) {
            for (bool announced : {false, true}) {
                SCOPED_TRACE(describe(shape, size) + (announced ? " announced" : ""));
                test::TempDir dir;
                ReceiverOptions options;
                options.split = shape.split;
                options.noise = shape.noise;
                options.send_file =
                    test::makeLinkFile(size, 1, 0, static_cast<std::uint32_t>(size));
                Line line(options, shape.join);
                TransferFlags flags;
                test::RecordingEvents events;
                UploadMachine pc(flags, line.pcSend(), events);
                // A ready byte offered before the PC asks lies stale on the line.
                if (announced) line.receiver().announce();
                const auto out = dir.path("out.bin");
                pc.arm(out.string());
                pc.start();
                line.run(pc);
                EXPECT_EQ(events.messages, (std::vector<std::string>{"UpLoad Complete(C)!!"}));
                EXPECT_EQ(line.receiver().lastUploadVerdict(), LINK_DONE);
                // The receiver fills its last block with 0xFF; the PC keeps it.
                Bytes expected = options.send_file;
                expected.resize(64 + (size + 1023) / 1024 * 1024, 0xFF);
                EXPECT_EQ(test::readBytes(out), expected);
                EXPECT_EQ(events.positions.size(), (size + 1023) / 1024);
            }
        }
    }
}

TEST(ReceiverEmulator, HeldUploadStopsAtItsBlockUntilReset) {
    for (std::size_t hold : {1, 2, 3}) {
        SCOPED_TRACE(hold);
        ReceiverOptions options;
        options.hold_after_blocks = hold;
        options.send_file = test::makeLinkFile(3000);  // three blocks
        Line line(options, true);
        UploadRun upload(line);
        upload.run();
        EXPECT_TRUE(line.receiver().held());
        EXPECT_EQ(upload.events.positions.size(), hold);
        EXPECT_TRUE(upload.events.messages.empty());
        EXPECT_EQ(line.receiver().uploadsCompleted(), 0);
        // Further acknowledgements change nothing; a reset leaves it idle.
        line.receiver().receive(Bytes{LINK_ACK, LINK_ACK});
        EXPECT_TRUE(line.receiver().held());
        line.receiver().reset();
        EXPECT_TRUE(line.receiver().idle());
        EXPECT_FALSE(line.receiver().held());
    }
}

TEST(ReceiverEmulator, RejectionsAndVerdictsReachThePC) {
    struct Case {
        ReceiverOptions::Reject reject;
        ReceiverOptions::Verdict verdict;
        const char* message;
        std::size_t frames_sent;  // header, blocks, end byte
    };
    using R = ReceiverOptions::Reject;
    using V = ReceiverOptions::Verdict;
    const Case cases[] = {
        {R::Hw, V::Done, "H/W version error", 1}, {R::Sw, V::Done, "S/W version error", 1},
        {R::Model, V::Done, "Model ID error", 1}, {R::None, V::Checksum, "Checksum error", 4},
        {R::None, V::Verify, "Verify error", 4},  {R::None, V::Done, "Download OK", 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        ReceiverOptions options;
        options.reject = c.reject;
        options.verdict = c.verdict;
        Line line(options, true);
        std::size_t frames = 0;
        SendBytes counting = [&, send = line.pcSend()](std::span<const std::uint8_t> b) {
            ++frames;
            send(b);
        };
        TransferFlags flags;
        test::RecordingEvents events;
        DownloadMachine pc(flags, counting, events);
        ASSERT_TRUE(pc.prepare(test::makeLinkFile(1500)));
        line.receiver().announce();
        line.run(pc);
        EXPECT_EQ(events.messages, (std::vector<std::string>{c.message}));
        EXPECT_EQ(frames, c.frames_sent);
        EXPECT_EQ(flags.m_bDownloadActive, 0);
        EXPECT_EQ(pc.state(), DownloadMachine::State::WaitReady);
        EXPECT_TRUE(line.receiver().idle());
    }
}

TEST(ReceiverEmulator, UploadChecksumVerdicts) {
    for (std::uint16_t usage : {0x0003, 0x0080}) {
        SCOPED_TRACE(usage);
        ReceiverOptions options;
        options.send_file = test::makeLinkFile(1500, usage);
        options.send_file[70] ^= 0x10;  // data no longer matches the header's checksum
        Line line(options, false);
        UploadRun upload(line);
        upload.run();
        if (usage == 0x0080) {
            EXPECT_EQ(line.receiver().lastUploadVerdict(), LINK_DONE);
            EXPECT_EQ(upload.events.messages, (std::vector<std::string>{"UpLoad Complete(M)!!"}));
        } else {
            EXPECT_EQ(line.receiver().lastUploadVerdict(), LINK_BAD_CHECKSUM);
            EXPECT_EQ(upload.events.status, "Checksum error");
            EXPECT_EQ(upload.flags.m_bUploadActive, 1);
        }
    }
}

TEST(ReceiverEmulator, DownloadAfterACancelledOne) {
    // The PC gives up half-way; the receiver is reset (its silence timeout)
    // and the next download goes through whole.
    ReceiverOptions options;
    Line line(options, true);
    TransferFlags flags;
    test::RecordingEvents events;
    std::size_t budget = 2;  // header and one block, then the line goes quiet
    SendBytes send = line.pcSend();
    DownloadMachine pc(
        flags,
        [&](std::span<const std::uint8_t> b) {
            if (budget > 0) --budget, send(b);
        },
        events);
    const Bytes file = test::makeLinkFile(4000);
    ASSERT_TRUE(pc.prepare(file));
    line.receiver().announce();
    line.run(pc);
    pc.cancel();
    EXPECT_FALSE(line.receiver().idle());
    line.receiver().reset();
    budget = 1000;
    ASSERT_TRUE(pc.prepare(file));
    line.receiver().announce();
    line.run(pc);
    EXPECT_EQ(events.messages, (std::vector<std::string>{"Download OK"}));
    EXPECT_EQ(line.receiver().received(), file);
}

TEST(ReceiverEmulator, UnwritableSaveFailsVerification) {
    test::TempDir dir;
    ReceiverOptions options;
    options.save_path = (dir.dir() / "missing" / "x.bin").string();
    Line line(options, true);
    TransferFlags flags;
    test::RecordingEvents events;
    DownloadMachine pc(flags, line.pcSend(), events);
    ASSERT_TRUE(pc.prepare(test::makeLinkFile(100)));
    line.receiver().announce();
    line.run(pc);
    EXPECT_EQ(events.messages, (std::vector<std::string>{"Verify error"}));
    EXPECT_TRUE(line.receiver().saveError().has_value());
}

}  // namespace
}  // namespace zoedit::link
