#include "link/receiver_emulator.h"

#include <algorithm>

#include "database/atomic_file.h"

namespace zoedit::link {

namespace {
// Stray bytes that mean nothing on the link: none is a link byte nor the
// first byte of the magic.
constexpr std::uint8_t kNoise[] = {0x00, 0xFF, 0x5A, 0xA5, 0x7E, 0x20};

std::uint8_t rejectionByte(ReceiverOptions::Reject reject) {
    switch (reject) {
        case ReceiverOptions::Reject::Hw:
            return LINK_BAD_HW;
        case ReceiverOptions::Reject::Sw:
            return LINK_BAD_SW;
        case ReceiverOptions::Reject::Model:
            return LINK_BAD_MODEL;
        case ReceiverOptions::Reject::None:
            break;
    }
    return 0;
}
}  // namespace

ReceiverEmulator::ReceiverEmulator(ReceiverOptions options, SendBytes deliver)
    : options_(std::move(options)), deliver_(std::move(deliver)) {}

void ReceiverEmulator::emit(std::span<const std::uint8_t> frame) {
    if (!noise_sent_) {
        noise_sent_ = true;
        for (std::size_t i = 0; i < options_.noise; ++i) {
            const std::uint8_t b = kNoise[i % std::size(kNoise)];
            deliver_(std::span<const std::uint8_t>(&b, 1));
        }
    }
    const std::size_t piece = options_.split == 0 ? frame.size() : options_.split;
    for (std::size_t at = 0; at < frame.size(); at += piece)
        deliver_(frame.subspan(at, std::min(piece, frame.size() - at)));
}

void ReceiverEmulator::announce() {
    if (state_ != State::Idle) return;
    // Until the PC has been heard, it may have missed (or flushed) the last
    // announcement: each one comes with its noise again.
    if (!heard_) noise_sent_ = false;
    emitByte(LINK_READY);
}

void ReceiverEmulator::reset() {
    state_ = State::Idle;
    held_ = false;
    frame_.clear();
    incoming_.clear();
}

void ReceiverEmulator::receive(std::span<const std::uint8_t> bytes) {
    if (!bytes.empty()) heard_ = true;
    for (std::uint8_t b : bytes) onByte(b);
}

void ReceiverEmulator::onByte(std::uint8_t b) {
    switch (state_) {
        case State::Idle:
            if (b == LINK_HEADER) {
                frame_.assign(1, b);
                state_ = State::CollectHeader;
            } else if (b == LINK_READY && options_.send_file.size() >= kLinkHeaderSize) {
                HeaderFrame frame{};
                frame[0] = LINK_HEADER;
                std::copy_n(options_.send_file.begin(), kLinkHeaderSize, frame.begin() + 1);
                next_block_ = kLinkHeaderSize;
                blocks_acked_ = 0;
                upload_verdict_.reset();
                state_ = State::WaitHeaderAck;
                emit(frame);
            }
            break;
        case State::CollectHeader:
            frame_.push_back(b);
            if (frame_.size() == kHeaderFrameSize) headerReceived();
            break;
        case State::ReceiveBlocks:
            if (frame_.empty() && b == LINK_END) {
                endReceived();
                break;
            }
            frame_.push_back(b);
            if (frame_.size() == kBlockFrameSize) blockReceived();
            break;
        case State::WaitHeaderAck:
            if (b == LINK_ACK) sendNextBlock();
            break;
        case State::WaitBlockAck:
            if (b != LINK_ACK || held_) break;
            ++blocks_acked_;
            if (blocks_acked_ == options_.hold_after_blocks) {
                held_ = true;
                break;
            }
            sendNextBlock();
            break;
        case State::WaitVerdict:
            if (b == LINK_DONE || b == LINK_BAD_CHECKSUM || b == LINK_BAD_VERIFY) {
                upload_verdict_ = b;
                ++uploads_;
                state_ = State::Idle;
            }
            break;
    }
}

void ReceiverEmulator::headerReceived() {
    if (options_.reject != ReceiverOptions::Reject::None) {
        frame_.clear();
        state_ = State::Idle;
        emitByte(rejectionByte(options_.reject));
        return;
    }
    incoming_.assign(frame_.begin() + 1, frame_.end());
    frame_.clear();
    framing_ok_ = true;
    state_ = State::ReceiveBlocks;
    emitByte(LINK_ACK);
}

void ReceiverEmulator::blockReceived() {
    framing_ok_ = framing_ok_ && frame_[0] == LINK_BLOCK && frame_[1] == 0x00 &&
                  frame_[2] == 0xFF && frame_[kBlockFrameSize - 2] == 0x00 &&
                  frame_[kBlockFrameSize - 1] == 0xFF;
    incoming_.insert(incoming_.end(), frame_.begin() + 3, frame_.begin() + 3 + kBlockDataSize);
    frame_.clear();
    emitByte(LINK_ACK);
}

void ReceiverEmulator::endReceived() {
    const FileHeader header = parseLinkHeader(
        std::span<const std::uint8_t, kLinkHeaderSize>(incoming_.data(), kLinkHeaderSize));
    // The PC pads its last block; the header says how much of it is data.
    const std::size_t stored = kLinkHeaderSize + header.data_length;
    if (stored <= incoming_.size()) incoming_.resize(stored);
    received_ = std::move(incoming_);
    incoming_.clear();
    ++downloads_;
    state_ = State::Idle;
    store();
    std::uint8_t verdict = LINK_DONE;
    if (options_.verdict == ReceiverOptions::Verdict::Checksum) verdict = LINK_BAD_CHECKSUM;
    // A receiver that could not take the data whole or store it fails to verify it.
    if (options_.verdict == ReceiverOptions::Verdict::Verify || !framing_ok_ || save_error_)
        verdict = LINK_BAD_VERIFY;
    emitByte(verdict);
}

void ReceiverEmulator::store() {
    if (options_.save_path.empty()) return;
    const SaveResult saved = writeFileAtomically(options_.save_path, received_);
    save_error_ = saved.ok ? std::nullopt : std::optional<std::string>(saved.message);
}

void ReceiverEmulator::sendNextBlock() {
    const auto& file = options_.send_file;
    if (next_block_ >= file.size()) {
        state_ = State::WaitVerdict;
        emitByte(LINK_END);
        return;
    }
    // The last block is filled up with 0xFF, as the PC does on its way out.
    std::array<std::uint8_t, kBlockDataSize> data;
    data.fill(0xFF);
    const std::size_t count = std::min(kBlockDataSize, file.size() - next_block_);
    std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(next_block_), count, data.begin());
    next_block_ += kBlockDataSize;
    state_ = State::WaitBlockAck;
    const BlockFrame frame = blockFrame(data);
    emit(frame);
}

}  // namespace zoedit::link
