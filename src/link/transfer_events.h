// What the transfer machines need of the world besides the line: the two
// arming flags the port's watcher reads, and a sink for what the user sees.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "ui/messages.h"

namespace zoedit::link {

// Shared with the port's watcher thread, which notifies the owner only for
// the direction that is armed.
struct TransferFlags {
    std::atomic<int> m_bDownloadActive{0};
    std::atomic<int> m_bUploadActive{0};
};

// How a transfer ended, as the machine decided it. Callers decide success
// from this alone; the texts that go with it are only for showing.
enum class TransferVerdict {
    Pending,         // armed and still running, or never armed
    Done,            // the data went across and the check passed
    FileRefused,     // the file could not be read, was refused, or cannot be stored
    UnknownUsage,    // the file's usage type is one the receiver does not take
    HeaderRejected,  // the receiver refused the header (hardware, software, model)
    ChecksumError,   // a checksum verdict: the receiver's, or ours on an upload
    VerifyError,     // the receiver could not verify what it stored
};

// The progress dialog and the message boxes of one transfer. The machines
// call these on the thread that steps them.
class TransferEvents {
public:
    virtual ~TransferEvents() = default;
    // UM_DL_PROGRESS / UM_UL_PROGRESS with wParam = position.
    virtual void progress(std::uint32_t position) = 0;
    // UM_DL_CLOSE / UM_UL_CLOSE: the dialog ends as its Cancel button does.
    virtual void close() = 0;
    // A modal OK box with the application's title.
    virtual void messageBox(const std::string& text) = 0;
    // The upload dialog's status line (static 1145), empty until something
    // goes wrong that the user must know about.
    virtual void statusText(const std::string& text) = 0;
};

// Turns progress and close into posted messages for a progress dialog, for
// bindings that talk to their dialog through the message queue.
class PostingTransferEvents : public TransferEvents {
public:
    PostingTransferEvents(ui::MessagePoster& poster, unsigned progress_id, unsigned close_id)
        : poster_(poster), progress_id_(progress_id), close_id_(close_id) {}
    void progress(std::uint32_t position) override {
        poster_.postMessage({progress_id_, static_cast<std::intptr_t>(position), 0});
    }
    void close() override { poster_.postMessage({close_id_, 0, 0}); }

private:
    ui::MessagePoster& poster_;
    unsigned progress_id_;
    unsigned close_id_;
};

inline constexpr char kMsgPortNotOpen[] = "You must initialize the serial port.";
// A write the line did not take within the time it needs: flow control holds
// it, or the device takes nothing. The transfer cannot go on.
inline constexpr char kMsgLineStopped[] =
    "The line to the receiver is stopped: the transfer is ended.";

}  // namespace zoedit::link
