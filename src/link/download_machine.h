// The download: a channel file from the PC to the receiver. The receiver
// starts the exchange with its ready byte; from then on the PC sends one
// frame per answer byte. The machine is stepped with batches of received
// bytes, sends through a function and never waits.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "database/channel_database.h"
#include "database/channel_file.h"
#include "link/link_frames.h"
#include "link/transfer_events.h"

namespace zoedit::link {

inline constexpr char kMsgInvalidDataFormatShort[] = "Invalid Data Format";
inline constexpr char kMsgUnknownUsageType[] = "Unknown Usage Type";
inline constexpr char kMsgHwVersionError[] = "H/W version error";
inline constexpr char kMsgSwVersionError[] = "S/W version error";
inline constexpr char kMsgModelIdError[] = "Model ID error";
inline constexpr char kMsgChecksumError[] = "Checksum error";
inline constexpr char kMsgVerifyError[] = "Verify error";
inline constexpr char kMsgDownloadOk[] = "Download OK";

enum class TransferMode { M, C };

class DownloadMachine {
public:
    enum class State { WaitReady = 0, HeaderSent = 1, SendBlock = 2, BlockSent = 3, EndSent = 4 };

    DownloadMachine(TransferFlags& flags, SendBytes send, TransferEvents& events);

    // The download command once a file is chosen: arms the download, checks
    // the header and builds the transfer image. False (and disarmed) when the
    // file cannot be read or is refused; the messages have been shown.
    bool prepareFile(const std::string& path);
    bool prepare(std::span<const std::uint8_t> file);

    // One batch of received bytes. Sends at most one frame.
    void step(std::span<const std::uint8_t> batch, bool port_open = true);

    // The progress dialog ended with Cancel: back to rest, nothing sent.
    void cancel();

    State state() const { return state_; }
    TransferVerdict verdict() const { return verdict_; }
    std::uint32_t offset() const { return offset_; }
    TransferMode mode() const { return mode_; }
    const FileHeader& header() const { return header_; }
    std::uint32_t imageSize() const { return static_cast<std::uint32_t>(image_.size()); }
    const std::vector<std::uint8_t>& image() const { return image_; }
    // The progress bar's range: n in C mode; secondary_length in M mode, or
    // n when that is 0.
    std::uint32_t progressTotal() const;

private:
    void refuse(const char* message);
    void rest();
    void end(TransferVerdict verdict, const char* message);
    void onReady(std::span<const std::uint8_t> batch);
    void onHeaderAnswer(std::span<const std::uint8_t> batch);
    void sendBlock();
    void onBlockAnswer(std::span<const std::uint8_t> batch);
    void onVerdict(std::span<const std::uint8_t> batch);

    TransferFlags& flags_;
    SendBytes send_;
    TransferEvents& events_;
    State state_ = State::WaitReady;
    TransferVerdict verdict_ = TransferVerdict::Pending;
    std::uint32_t offset_ = kLinkHeaderSize;
    TransferMode mode_ = TransferMode::C;
    FileHeader header_;
    std::vector<std::uint8_t> image_;
};

}  // namespace zoedit::link
