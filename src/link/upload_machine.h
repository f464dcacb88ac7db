// The upload: the receiver's channel database to a file on the PC. The PC
// announces itself with the ready byte, gathers the header, acknowledges
// each block frame and answers the end byte with its verdict. Stepped with
// batches of received bytes; sends through a function; never waits.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "database/atomic_file.h"
#include "database/channel_database.h"
#include "link/link_frames.h"
#include "link/transfer_events.h"

namespace zoedit::link {

inline constexpr char kMsgUploadCompleteC[] = "UpLoad Complete(C)!!";
inline constexpr char kMsgUploadCompleteM[] = "UpLoad Complete(M)!!";
inline constexpr char kMsgUploadChecksumError[] = "Checksum error";

class UploadMachine {
public:
    enum class State { CollectHeader = 0, HeaderComplete = 1, ReceiveBlocks = 2 };

    UploadMachine(TransferFlags& flags, SendBytes send, TransferEvents& events);

    // The upload command once a path is chosen: arms the upload.
    void arm(const std::string& output_path);
    // A received file put over an existing one keeps a copy of it here.
    void keepBackups(BackupStore store) { file_.keepBackups(std::move(store)); }
    // Opening the progress dialog: announces the PC with the ready byte.
    void start();
    // One batch of received bytes.
    void step(std::span<const std::uint8_t> batch, bool port_open = true);
    // The progress dialog ended with Cancel: back to rest, nothing sent, the
    // file that was at the output path left as it was.
    void cancel();

    State state() const { return state_; }
    TransferVerdict verdict() const { return verdict_; }
    std::uint32_t collected() const { return collected_; }
    std::uint32_t runningTotal() const { return running_total_; }
    const FileHeader& header() const { return header_; }
    const std::string& outputPath() const { return output_path_; }
    // True once the verdict went out; later bytes are ignored until Cancel.
    bool finished() const { return finished_; }
    // Why the file the upload replaced has no backup (empty when it has one,
    // or when nothing was replaced).
    const std::string& backupWarning() const { return backup_warning_; }

private:
    void collectHeader(std::span<const std::uint8_t> batch);
    void headerComplete();
    void receiveBlock(std::span<const std::uint8_t> batch);
    void finish();
    void fail(const std::string& message);
    void rest();
    void sendByte(std::uint8_t byte);

    TransferFlags& flags_;
    SendBytes send_;
    TransferEvents& events_;
    State state_ = State::CollectHeader;
    std::uint32_t collected_ = 0;
    std::uint32_t running_total_ = 0;
    std::array<std::uint8_t, kLinkHeaderSize> header_bytes_{};
    std::array<std::uint8_t, kBlockFrameSize> block_{};
    FileHeader header_;
    std::string output_path_;
    AtomicFile file_;
    bool finished_ = false;
    std::string backup_warning_;
    TransferVerdict verdict_ = TransferVerdict::Pending;
};

}  // namespace zoedit::link
