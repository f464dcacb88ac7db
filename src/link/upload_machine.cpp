#include "link/upload_machine.h"

#include <algorithm>

#include "link/received_file.h"

namespace zoedit::link {

UploadMachine::UploadMachine(TransferFlags& flags, SendBytes send, TransferEvents& events)
    : flags_(flags), send_(std::move(send)), events_(events) {}

void UploadMachine::arm(const std::string& output_path) {
    flags_.m_bUploadActive = 1;
    flags_.m_bDownloadActive = 0;
    running_total_ = 0;
    output_path_ = output_path;
    finished_ = false;
    backup_warning_.clear();
    verdict_ = TransferVerdict::Pending;
    file_.discard();
}

void UploadMachine::start() {
    sendByte(LINK_READY);
    state_ = State::CollectHeader;
    collected_ = 0;
    finished_ = false;
}

void UploadMachine::rest() {
    state_ = State::CollectHeader;
    collected_ = 0;
    flags_.m_bUploadActive = 0;
}

void UploadMachine::cancel() {
    rest();
    file_.discard();
}

void UploadMachine::fail(const std::string& message) {
    verdict_ = TransferVerdict::FileRefused;
    file_.discard();
    rest();
    events_.messageBox(message);
    events_.close();
}

void UploadMachine::sendByte(std::uint8_t byte) {
    send_(std::span<const std::uint8_t>(&byte, 1));
}

void UploadMachine::step(std::span<const std::uint8_t> batch, bool port_open) {
    if (!port_open) {
        events_.messageBox(kMsgPortNotOpen);
        return;
    }
    if (batch.empty() || finished_) return;
    if (state_ == State::ReceiveBlocks) {
        receiveBlock(batch);
    } else {
        collectHeader(batch);
    }
}

void UploadMachine::collectHeader(std::span<const std::uint8_t> b) {
    const std::size_t len = b.size();
    std::size_t from = 0;
    if (collected_ != 0) {
        from = 0;
    } else if (b[0] == LINK_HEADER) {
        from = 1;  // the frame's first byte is not part of the header
    } else if (len > 1 && b[1] == 0x55) {
        from = 0;  // taken whole: a stray first byte spoils this header
    } else if (b[0] != 0x55) {
        const auto first = std::find(b.begin() + 1, b.end(), std::uint8_t{0x55});
        from = static_cast<std::size_t>(first - b.begin());
    }
    const std::size_t appended = len - from;
    // Bytes past the 64th are not kept: the header buffer holds 64.
    const std::size_t room = kLinkHeaderSize - std::min<std::size_t>(collected_, kLinkHeaderSize);
    std::copy_n(b.begin() + static_cast<std::ptrdiff_t>(from), std::min(appended, room),
                header_bytes_.begin() + collected_);
    collected_ += static_cast<std::uint32_t>(appended);
    if (collected_ < kLinkHeaderSize) return;
    collected_ = 0;
    state_ = State::HeaderComplete;
    headerComplete();
}

void UploadMachine::headerComplete() {
    if (header_bytes_[0] != 0x55) {
        collected_ = 0;
        state_ = State::CollectHeader;
        return;
    }
    header_ = parseLinkHeader(header_bytes_);
    // The file comes first: acknowledging a header we cannot store would
    // set the receiver sending into nowhere.
    if (SaveResult r = file_.open(output_path_); !r.ok) return fail(r.message);
    if (SaveResult r = file_.append(header_bytes_); !r.ok) return fail(r.message);
    sendByte(LINK_ACK);
    state_ = State::ReceiveBlocks;
}

void UploadMachine::receiveBlock(std::span<const std::uint8_t> b) {
    if (b[0] == LINK_END && collected_ == 0) return finish();
    // Bytes past the frame's 1,029th are counted but neither kept nor acknowledged.
    const std::size_t room = kBlockFrameSize - std::min<std::size_t>(collected_, kBlockFrameSize);
    std::copy_n(b.begin(), std::min(b.size(), room), block_.begin() + collected_);
    collected_ += static_cast<std::uint32_t>(b.size());
    if (collected_ < kBlockFrameSize) return;
    running_total_ += collected_;
    events_.progress(running_total_);
    collected_ = 0;
    if (SaveResult r = file_.append(std::span(block_).subspan(3, kBlockDataSize)); !r.ok)
        return fail(r.message);
    sendByte(LINK_ACK);
}

void UploadMachine::finish() {
    // Read back from the file, as the receiver's data reached it.
    ReceivedData data(header_.data_length);
    if (SaveResult r = file_.readBack(kLinkHeaderSize, header_.data_length,
                                      [&data](auto bytes) { data.take(bytes); });
        !r.ok)
        return fail(r.message);
    const std::uint8_t kind = header_.usage_type & 0xFF;
    const bool checked = kind != 0 && kind != 0x80;
    const bool good = !checked || data.sum() == header_.checksum;
    // The receiver fills its last block up; what follows a file that proves
    // to be whole is not part of it. Anything less certain is kept as it came.
    if (const auto length = receivedFileLength(header_, checked && good, data, file_.size())) {
        if (SaveResult r = file_.truncate(*length); !r.ok) return fail(r.message);
    }
    // What was received is kept even when its checksum is wrong; the user
    // decides what to do with it.
    const SaveResult stored = file_.commit();
    if (!stored.ok) return fail(stored.message);
    // Stored all the same; the user hears once that the old file has no copy.
    backup_warning_ = stored.warning;
    if (!backup_warning_.empty()) events_.messageBox(backup_warning_);
    finished_ = true;
    if (!good) {
        verdict_ = TransferVerdict::ChecksumError;
        sendByte(LINK_BAD_CHECKSUM);
        events_.statusText(kMsgUploadChecksumError);
        return;
    }
    sendByte(LINK_DONE);
    verdict_ = TransferVerdict::Done;
    events_.messageBox(checked ? kMsgUploadCompleteC : kMsgUploadCompleteM);
    events_.close();
    rest();
}

}  // namespace zoedit::link
