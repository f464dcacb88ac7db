// One whole transfer over a real port, without windows: opens the port, runs
// the download or upload machine on the notifications of the port's watcher
// and ends on the machine's verdict, a silent receiver, a lost line or a
// cancel. The command line's send and receive are built on it.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "database/backup_store.h"
#include "link/port_params.h"

namespace zoedit::link {

inline constexpr char kMsgCancelled[] = "Transfer cancelled.";

enum class TransferOutcome {
    Succeeded,   // "Download OK", "UpLoad Complete(C)!!", "UpLoad Complete(M)!!"
    Refused,     // the file, the receiver or the check said no: `message` says what
    PortFailed,  // the port could not be opened or configured
    LineLost,    // the far end went away
    TimedOut,    // the receiver stayed silent for the whole time-out
    Cancelled,
};

struct TransferResult {
    TransferOutcome outcome = TransferOutcome::Refused;
    std::string message;  // the system's own closing text where it has one
    bool ok() const { return outcome == TransferOutcome::Succeeded; }
};

struct TransferOptions {
    PortParams port;
    // Silence, counted from the last byte received (or from the start).
    std::chrono::milliseconds timeout{std::chrono::seconds(60)};
    const std::atomic<bool>* cancel = nullptr;  // set from anywhere to cancel
    // Bytes moved so far and the expected total (0 when not known yet).
    std::function<void(std::uint32_t position, std::uint32_t total)> progress;
    // Every box and status text of the machine, as it happens.
    std::function<void(const std::string&)> message;
    // The port's own complaints (overflow, line lost), and a received file
    // that was stored but whose predecessor could not be backed up.
    std::function<void(const std::string&)> diagnostic;
    // Where a received file put over an existing one keeps a copy of it.
    BackupStore backups;
};

// The "Download": `path` from the PC to the receiver.
TransferResult sendChannelFile(const std::string& path, const TransferOptions& options);

// The "Upload": the receiver's channel file into `path`.
TransferResult receiveChannelFile(const std::string& path, const TransferOptions& options);

}  // namespace zoedit::link
