#include <gtest/gtest.h>

#include <cstring>

#include "link/progress_dialogs.h"
#include "link/rate_meter.h"
#include "receiver_link_fixture.h"

namespace zoedit::test {
namespace {

using namespace ui;
using link::DownloadMachine;
using link::LINK_ACK;
using link::LINK_DONE;
using link::LINK_READY;
using link::ReceiverOptions;
using link::UploadMachine;
using Bytes = std::vector<std::uint8_t>;

// A rig with the port open and a receiver at the far end.
struct OpenRig : LinkRig {
    explicit OpenRig(ReceiverOptions options = {}) {
        link.ReadSettings();
        link.OnPortCommand();
        port.attach(std::move(options));
    }
    void feed(Bytes bytes) { port.arrive(bytes); }
};

// ---------------------------------------------------------------------------
// Texts of the progress dialogs

TEST(ProgressTexts, RateAppearsAfterAFewReportsAndCountsFromTheFirst) {
    link::RateMeter meter;
    EXPECT_EQ(meter.report(1088, 11264, 100.0), "");  // the wait before it does not count
    EXPECT_EQ(meter.report(2112, 11264, 101.0), "");
    EXPECT_EQ(meter.report(3136, 11264, 102.0), "1.0 KB/s, 0:08 left");
    EXPECT_EQ(meter.report(11264, 11264, 110.0), "1018 B/s");  // nothing left to wait for
    link::RateMeter still;
    still.report(500, 0, 1.0);
    still.report(500, 0, 2.0);
    EXPECT_EQ(still.report(500, 0, 3.0), "");  // no movement, no rate (and no division by 0)
    EXPECT_EQ(link::durationText(3725), "1:02:05");
    EXPECT_EQ(link::rateText(3.5 * 1024 * 1024), "3.5 MB/s");
}

// ---------------------------------------------------------------------------
// Download

TEST(DownloadFromTheMenu, FileDialogAndDialogTextsThenAWholeTransfer) {
    OpenRig rig;
    Bytes file = makeLinkFile(2000, 3);
    // hw_version at header offset 16 and sw_version at 20, both 0x00001234.
    for (std::size_t at : {16u, 20u}) {
        file[at] = 0x00;
        file[at + 1] = 0x00;
        file[at + 2] = 0x12;
        file[at + 3] = 0x34;
    }
    std::memcpy(&file[32], "MODEL-X", 8);  // with its NUL
    writeBytes(rig.dir.path("a.bin"), file);
    rig.platform.dialogs.answerFile(rig.dir.path("a.bin").string());
    std::vector<std::string> positions;
    rig.platform.dialogs.scriptModal([&](ModalDialog& d, FakeDialogHost& h, FakeForm& f) {
        EXPECT_EQ(d.dialogId(), IDD_DOWNLOAD_PROGRESS);
        EXPECT_EQ(f.text(download::IDC_MODEL_ID), "MODEL-X");
        EXPECT_EQ(f.text(download::IDC_HW_VERSION), "1.34.23");
        EXPECT_EQ(f.text(download::IDC_SW_VERSION), "1.34.34");
        EXPECT_EQ(f.text(download::IDC_COM_PORT), "Com1");
        EXPECT_EQ(f.text(download::IDC_SPEED), "115200");
        EXPECT_EQ(f.text(download::IDC_POSITION), "0/2000");
        EXPECT_EQ(f.control(download::IDC_PROGRESS).range_high, 2000);
        rig.port.far_end->announce();
        rig.pump(&h);
        positions.push_back(f.text(download::IDC_POSITION));
        EXPECT_EQ(f.control(download::IDC_PROGRESS).position, 2000);
    });
    rig.link.onCommand(cmd::ID_DOWNLOAD);

    const FileDialogRequest& request = rig.platform.dialogs.fileRequests().at(0);
    EXPECT_TRUE(request.open);
    EXPECT_EQ(request.default_extension, "bin");
    EXPECT_EQ(request.initial_name, "*.bin;*.sgn");
    EXPECT_EQ(request.flags, OFN_OVERWRITEPROMPT);
    EXPECT_EQ(request.filter, "Dunvar sat (Vemora )(*.bin,*.sgn)|*.bin|All Files(*.*)|*.*|");

    EXPECT_EQ(positions, std::vector<std::string>{"2000/2000"});
    EXPECT_EQ(rig.platform.dialogs.messageTexts(), std::vector<std::string>{"Download OK"});
    EXPECT_EQ(rig.port.far_end->downloadsCompleted(), 1);
    EXPECT_EQ(rig.port.far_end->received(), file);
    EXPECT_EQ(rig.link.download().state(), DownloadMachine::State::WaitReady);
    EXPECT_EQ(rig.flags.m_bDownloadActive, 0);
}

TEST(DownloadFromTheMenu, ARejectionIsShownAndTheDialogWaitsForCancel) {
    ReceiverOptions options;
    options.reject = ReceiverOptions::Reject::Model;
    OpenRig rig(options);
    writeBytes(rig.dir.path("a.bin"), makeLinkFile(100));
    rig.platform.dialogs.answerFile(rig.dir.path("a.bin").string());
    bool open_after = false;
    rig.platform.dialogs.scriptModal([&](ModalDialog& d, FakeDialogHost& h, FakeForm&) {
        rig.port.far_end->announce();
        rig.pump(&h);
        open_after = !h.result().has_value();
        d.onEvent(h, {download::IDC_CANCEL, EventKind::Clicked});
    });
    rig.link.OnDownload();
    EXPECT_TRUE(open_after);
    EXPECT_EQ(rig.platform.dialogs.messageTexts(), std::vector<std::string>{"Model ID error"});
}

TEST(DownloadFromTheMenu, ARefusedFileOpensNoDialog) {
    OpenRig rig;
    Bytes file = makeLinkFile(100, 2);  // low byte 2: not a known kind
    writeBytes(rig.dir.path("a.bin"), file);
    rig.platform.dialogs.answerFile(rig.dir.path("a.bin").string());
    rig.link.OnDownload();
    rig.platform.dialogs.answerFile(std::nullopt);  // the file dialog cancelled
    rig.link.OnDownload();
    EXPECT_TRUE(rig.platform.dialogs.modalDialogs().empty());
    EXPECT_EQ(rig.platform.dialogs.messageTexts(), std::vector<std::string>{"Invalid Data Format"});
    EXPECT_EQ(rig.flags.m_bDownloadActive, 0);
}

// Drives a download to `stop` by hand, then presses Cancel.
void cancelDownloadIn(DownloadMachine::State stop) {
    SCOPED_TRACE(static_cast<int>(stop));
    OpenRig rig;
    rig.port.far_end.reset();  // the test answers itself
    writeBytes(rig.dir.path("a.bin"), makeLinkFile(3000));
    rig.platform.dialogs.answerFile(rig.dir.path("a.bin").string());
    std::size_t written_at_cancel = 0;
    rig.platform.dialogs.scriptModal([&](ModalDialog& d, FakeDialogHost& h, FakeForm&) {
        const Bytes answers[] = {{LINK_READY}, {LINK_ACK}, {LINK_ACK}, {LINK_ACK}, {LINK_ACK}};
        for (const Bytes& answer : answers) {
            if (rig.link.download().state() == stop) break;
            rig.feed(answer);
            rig.pump(&h);
        }
        EXPECT_EQ(rig.link.download().state(), stop);
        written_at_cancel = rig.port.written.size();
        d.onEvent(h, {download::IDC_CANCEL, EventKind::Clicked});
    });
    rig.link.OnDownload();
    EXPECT_EQ(rig.link.download().state(), DownloadMachine::State::WaitReady);
    EXPECT_EQ(rig.link.download().offset(), 64u);
    EXPECT_EQ(rig.flags.m_bDownloadActive, 0);
    EXPECT_EQ(rig.port.written.size(), written_at_cancel);  // nothing said to the receiver
    // Late answers are not taken: nothing is armed to take them.
    rig.feed({LINK_ACK});
    rig.pump();
    EXPECT_EQ(rig.port.written.size(), written_at_cancel);
    EXPECT_EQ(rig.port.incoming.size(), 1u);
}

TEST(DownloadFromTheMenu, CancelInEveryStateReturnsToRest) {
    for (auto s : {DownloadMachine::State::WaitReady, DownloadMachine::State::HeaderSent,
                   DownloadMachine::State::BlockSent, DownloadMachine::State::EndSent})
        cancelDownloadIn(s);
}

TEST(DownloadFromTheMenu, ProgressAndRateTextsFollowThePosts) {
    OpenRig rig;
    rig.port.far_end.reset();
    writeBytes(rig.dir.path("a.bin"), makeLinkFile(10 * 1024 - 64 + 100));
    rig.platform.dialogs.answerFile(rig.dir.path("a.bin").string());
    rig.platform.dialogs.scriptModal([&](ModalDialog&, FakeDialogHost& h, FakeForm& f) {
        rig.feed({LINK_READY});
        rig.pump(&h);
        for (int block = 0; block < 4; ++block) {
            rig.now += 1.0;
            rig.feed({LINK_ACK});
            rig.pump(&h);
        }
        // Three blocks acknowledged after the header: 1,088, 2,112, 3,136.
        EXPECT_EQ(f.text(download::IDC_POSITION), "3136/10276");
        EXPECT_EQ(f.control(download::IDC_PROGRESS).position, 3136);
        EXPECT_EQ(f.text(download::IDC_RATE), "1.0 KB/s, 0:07 left");
    });
    rig.link.OnDownload();
}

TEST(DownloadFromTheMenu, BytesWithTheDownloadDisarmedStayQueued) {
    OpenRig rig;
    rig.port.far_end.reset();
    rig.link.onMessage({UM_DOWNLOAD_RX, 0, 0});
    rig.port.incoming.push_back(LINK_READY);
    rig.link.onMessage({UM_DOWNLOAD_RX, 0, 0});
    EXPECT_EQ(rig.port.incoming.size(), 1u);
    // The stale ready byte opens the next download's first batch.
    writeBytes(rig.dir.path("a.bin"), makeLinkFile(10));
    rig.platform.dialogs.answerFile(rig.dir.path("a.bin").string());
    rig.platform.dialogs.scriptModal([&](ModalDialog&, FakeDialogHost& h, FakeForm&) {
        rig.feed({0x00});
        rig.pump(&h);
        EXPECT_EQ(rig.link.download().state(), DownloadMachine::State::HeaderSent);
    });
    rig.link.OnDownload();
}

// ---------------------------------------------------------------------------
// Upload

TEST(UploadFromTheMenu, StoresWhatTheReceiverSentAndClosesWithItsMessage) {
    ReceiverOptions options;
    options.send_file = makeLinkFile(5000, 3);
    OpenRig rig(options);
    const auto out = rig.dir.path("got.bin");
    rig.platform.dialogs.answerFile(out.string());
    std::string count;
    rig.platform.dialogs.scriptModal([&](ModalDialog& d, FakeDialogHost& h, FakeForm& f) {
        EXPECT_EQ(d.dialogId(), IDD_UPLOAD_PROGRESS);
        EXPECT_EQ(f.text(upload::IDC_OUTPUT_PATH), out.string());
        EXPECT_EQ(f.text(upload::IDC_BYTE_COUNT), "0");
        rig.pump(&h);
        count = f.text(upload::IDC_BYTE_COUNT);
        EXPECT_TRUE(h.result().has_value());
    });
    rig.link.onCommand(cmd::ID_UPLOAD);
    EXPECT_FALSE(rig.platform.dialogs.fileRequests().at(0).open);
    EXPECT_EQ(rig.port.written.at(0), LINK_READY);
    EXPECT_EQ(count, std::to_string(5 * 1029) + " ");
    EXPECT_EQ(rig.platform.dialogs.messageTexts(),
              std::vector<std::string>{"UpLoad Complete(C)!!"});
    // Whole blocks: the receiver's filler after the data is stored too.
    Bytes expected = options.send_file;
    expected.resize(64 + 5 * 1024, 0xFF);
    Bytes stored = readBytes(out);
    ASSERT_EQ(stored.size(), expected.size());
    EXPECT_TRUE(std::equal(options.send_file.begin(), options.send_file.end(), stored.begin()));
    EXPECT_EQ(rig.port.far_end->lastUploadVerdict(), LINK_DONE);
    EXPECT_EQ(rig.flags.m_bUploadActive, 0);
}

// A line that stops taking bytes part-way ends either transfer with a message
// and the dialog closed, whichever frame it stopped in.
TEST(TransfersOnAStoppedLine, EndDisarmedWithTheDialogClosed) {
    // Download: in the header, a block, the end byte. Upload (one-byte
    // answers): the ready byte, the header's and a block's acknowledgement.
    const std::vector<std::size_t> download_limits = {0, 65 + 500, 65 + 5 * 1029};
    const std::vector<std::size_t> upload_limits = {0, 1, 2};
    for (bool download : {true, false}) {
        for (std::size_t limit : download ? download_limits : upload_limits) {
            SCOPED_TRACE(std::to_string(limit) + (download ? " download" : " upload"));
            ReceiverOptions options;
            options.send_file = makeLinkFile(5000, 3);
            OpenRig rig(options);
            rig.port.take_limit = limit;
            const auto path = rig.dir.path("f.bin");
            if (download) writeBytes(path, makeLinkFile(5000, 3));
            rig.platform.dialogs.answerFile(path.string());
            bool closed_by_link = false;
            rig.platform.dialogs.scriptModal([&](ModalDialog& d, FakeDialogHost& h, FakeForm&) {
                if (download) rig.port.far_end->announce();
                rig.pump(&h);
                closed_by_link = h.result().has_value();
                if (!closed_by_link) d.onEvent(h, {download::IDC_CANCEL, EventKind::Clicked});
            });
            rig.link.onCommand(download ? cmd::ID_DOWNLOAD : cmd::ID_UPLOAD);
            // Upload with nothing taken: its ready byte fails before any dialog.
            if (download || limit > 0) EXPECT_TRUE(closed_by_link);
            EXPECT_EQ(rig.platform.dialogs.messageTexts(),
                      std::vector<std::string>{link::kMsgLineStopped});
            EXPECT_EQ(rig.flags.m_bDownloadActive, 0);
            EXPECT_EQ(rig.flags.m_bUploadActive, 0);
        }
    }
}

// A receiver that says nothing for five seconds: the rate line of either
// dialog says what to check (the port, when it is closed) and the dialog
// keeps waiting; the first bytes clear it.
TEST(ProgressDialogsWhileTheReceiverIsSilent, SayWhatToCheckAndKeepWaiting) {
    for (bool port_open : {true, false}) {
        for (bool download : {true, false}) {
            SCOPED_TRACE(std::string(port_open ? "open " : "closed ") +
                         (download ? "download" : "upload"));
            ReceiverOptions options;
            options.send_file = makeLinkFile(3000, 3);
            OpenRig rig(options);
            if (!port_open) rig.link.OnPortCommand();  // closes it
            const auto path = rig.dir.path("f.bin");
            if (download) writeBytes(path, makeLinkFile(3000, 3));
            rig.platform.dialogs.answerFile(path.string());
            const ControlId rate = download ? download::IDC_RATE : upload::IDC_RATE;
            std::string early, late, after_bytes;
            bool still_open = false;
            rig.platform.dialogs.scriptModal([&](ModalDialog& d, FakeDialogHost& h, FakeForm& f) {
                rig.pump(&h);  // the upload's ready byte is answered only below
                rig.now += 4.9;
                rig.link.onTick();
                early = f.text(rate);
                rig.now += 0.2;
                rig.link.onTick();
                late = f.text(rate);
                still_open = !h.result().has_value();
                if (port_open && download) {
                    rig.feed({0x00});
                    rig.pump(&h);
                    after_bytes = f.text(rate);
                }
                d.onEvent(
                    h, {download ? download::IDC_CANCEL : upload::IDC_CANCEL, EventKind::Clicked});
            });
            // The emulator answers an upload's ready byte at once: keep it quiet.
            if (!download) rig.port.far_end.reset();
            rig.link.onCommand(download ? cmd::ID_DOWNLOAD : cmd::ID_UPLOAD);
            EXPECT_EQ(early, "");
            EXPECT_EQ(late, port_open ? link::kMsgNoAnswerYet : link::kMsgPortClosedOpenIt);
            EXPECT_TRUE(still_open);
            EXPECT_EQ(after_bytes, "");
        }
    }
    // Outside a transfer a tick does nothing.
    OpenRig idle;
    idle.now += 60;
    idle.link.onTick();
    EXPECT_TRUE(idle.platform.dialogs.messageTexts().empty());
}

// The hint of a silent receiver goes with the first byte, and does not come
// back behind the closing box of a transfer that succeeded, however long the
// user takes to read it.
TEST(ProgressDialogsWhileTheReceiverIsSilent, HintGoesWithTheFirstByteAndStaysGone) {
    for (bool download : {true, false}) {
        SCOPED_TRACE(download ? "download" : "upload");
        ReceiverOptions options;
        options.send_file = makeLinkFile(3000, 3);
        OpenRig rig(options);
        const auto path = rig.dir.path("f.bin");
        if (download) writeBytes(path, makeLinkFile(3000, 3));
        rig.platform.dialogs.answerFile(path.string());
        const ControlId rate = download ? download::IDC_RATE : upload::IDC_RATE;
        FakeForm* form = nullptr;
        std::string silent, behind_box;
        rig.platform.dialogs.while_box_shown = [&](const MessageBoxRequest&) {
            rig.now += 30;
            rig.link.onTick();
            if (form != nullptr) behind_box = form->text(rate);
        };
        rig.platform.dialogs.scriptModal([&](ModalDialog&, FakeDialogHost& h, FakeForm& f) {
            form = &f;
            rig.now += 6;
            rig.link.onTick();
            silent = f.text(rate);
            if (download) {
                rig.port.far_end->announce();
            } else {
                rig.port.attach(options);
                rig.port.far_end->receive(Bytes{LINK_READY});
            }
            rig.pump(&h);
            EXPECT_TRUE(h.result().has_value());
        });
        // The emulator answers an upload's ready byte at once: it comes in late.
        if (!download) rig.port.far_end.reset();
        rig.link.onCommand(download ? cmd::ID_DOWNLOAD : cmd::ID_UPLOAD);
        EXPECT_EQ(silent, link::kMsgNoAnswerYet);
        EXPECT_EQ(rig.platform.dialogs.messageTexts(),
                  std::vector<std::string>{download ? "Download OK" : "UpLoad Complete(C)!!"});
        EXPECT_NE(behind_box, link::kMsgNoAnswerYet);
    }
}

TEST(UploadFromTheMenu, CancelMidTransferLeavesNothingArmedAndNoFile) {
    OpenRig rig;
    rig.port.far_end.reset();
    const Bytes file = makeLinkFile(3000, 3);
    const auto out = rig.dir.path("got.bin");
    for (int stage = 0; stage < 3; ++stage) {
        SCOPED_TRACE(stage);
        rig.platform.dialogs.answerFile(out.string());
        rig.platform.dialogs.scriptModal([&](ModalDialog& d, FakeDialogHost& h, FakeForm&) {
            Bytes part{0x08};
            if (stage >= 1) part.insert(part.end(), file.begin(), file.begin() + 64);
            if (stage >= 2) part = {0x02, 0x00, 0xFF, 1, 2, 3};  // header sent, a block begun
            if (stage == 2) {
                Bytes header{0x08};
                header.insert(header.end(), file.begin(), file.begin() + 64);
                rig.feed(header);
                rig.pump(&h);
            }
            rig.feed(part);
            rig.pump(&h);
            d.onEvent(h, {upload::IDC_CANCEL, EventKind::Clicked});
        });
        rig.link.OnUpload();
        EXPECT_EQ(rig.link.upload().state(), UploadMachine::State::CollectHeader);
        EXPECT_EQ(rig.link.upload().collected(), 0u);
        EXPECT_EQ(rig.flags.m_bUploadActive, 0);
        EXPECT_FALSE(std::filesystem::exists(out));
        EXPECT_EQ(rig.port.written.back(), stage >= 1 ? LINK_ACK : LINK_READY);
    }
    // The next upload runs whole.
    link::ReceiverOptions options;
    options.send_file = file;
    rig.port.attach(options);
    rig.platform.dialogs.answerFile(out.string());
    rig.platform.dialogs.scriptModal(
        [&](ModalDialog&, FakeDialogHost& h, FakeForm&) { rig.pump(&h); });
    rig.link.OnUpload();
    EXPECT_EQ(rig.platform.dialogs.messageTexts().back(), "UpLoad Complete(C)!!");
    EXPECT_EQ(readBytes(out).size(), 64u + 3 * 1024);
}

TEST(UploadFromTheMenu, AChecksumMismatchIsShownInTheDialogWhichWaits) {
    ReceiverOptions options;
    options.send_file = makeLinkFile(500, 3);
    options.send_file[7] ^= 0x01;  // the header's checksum no longer fits the data
    OpenRig rig(options);
    rig.platform.dialogs.answerFile(rig.dir.path("got.bin").string());
    rig.platform.dialogs.scriptModal([&](ModalDialog& d, FakeDialogHost& h, FakeForm& f) {
        rig.pump(&h);
        EXPECT_FALSE(h.result().has_value());
        EXPECT_EQ(f.text(upload::IDC_EMPTY), "Checksum error");
        d.onEvent(h, {upload::IDC_CANCEL, EventKind::Clicked});
    });
    rig.link.OnUpload();
    EXPECT_TRUE(rig.platform.dialogs.messages().empty());
    EXPECT_EQ(rig.port.far_end->lastUploadVerdict(), link::LINK_BAD_CHECKSUM);
    EXPECT_EQ(rig.flags.m_bUploadActive, 0);
}

TEST(TransfersWithThePortClosed, BytesProcessedSayThePortMustBeInitialised) {
    LinkRig rig;
    rig.link.ReadSettings();
    rig.platform.dialogs.answerFile(rig.dir.path("got.bin").string());
    rig.platform.dialogs.scriptModal([&](ModalDialog& d, FakeDialogHost& h, FakeForm&) {
        rig.port.arrive(Bytes{0x08, 0x55});
        rig.pump(&h);
        d.onEvent(h, {upload::IDC_CANCEL, EventKind::Clicked});
    });
    rig.link.OnUpload();
    EXPECT_EQ(rig.platform.dialogs.messageTexts(),
              std::vector<std::string>{"You must initialize the serial port."});
}

}  // namespace
}  // namespace zoedit::test
