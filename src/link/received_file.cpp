#include "link/received_file.h"

#include <algorithm>

#include "database/big_endian.h"
#include "database/channel_file.h"
#include "link/link_frames.h"

namespace zoedit::link {

namespace {
constexpr std::size_t kFormatBlockSize = kFormatBlockEnd - kHeaderSize;
constexpr std::size_t kTrailerSize = 2;
}  // namespace

void ReceivedData::take(std::span<const std::uint8_t> bytes) {
    const std::uint64_t wanted = data_length_ > taken_ ? data_length_ - taken_ : 0;
    bytes = bytes.first(static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size(), wanted)));
    // Where each piece falls: the format block at the start, the trailer at
    // the end, the CRC over everything before the trailer.
    const std::uint64_t end = taken_ + bytes.size();
    for (std::uint64_t at = taken_; at < std::min<std::uint64_t>(end, kFormatBlockSize); ++at)
        format_block_[at] = bytes[at - taken_];
    if (data_length_ >= kTrailerSize) {
        const std::uint64_t trailer_at = data_length_ - kTrailerSize;
        for (std::uint64_t at = std::max(taken_, trailer_at); at < end; ++at)
            trailer_[at - trailer_at] = bytes[at - taken_];
    }
    const std::uint64_t crc_end = data_length_ >= kTrailerSize ? data_length_ - kTrailerSize : 0;
    if (taken_ < crc_end) {
        const auto covered =
            static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size(), crc_end - taken_));
        crc_ = crc16Arc(bytes.first(covered), crc_);
    }
    sum_ = static_cast<std::uint16_t>(sum_ + byteSum16(bytes));
    taken_ += bytes.size();
}

bool ReceivedData::describesItself() const {
    if (data_length_ < kFormatBlockSize + kTrailerSize || taken_ < data_length_) return false;
    return be::get32(&format_block_[0]) == kFormatId &&
           be::get32(&format_block_[12]) == data_length_ - kFormatBlockSize &&
           be::get16(trailer_.data()) == crc_;
}

std::optional<std::uint64_t> receivedFileLength(const FileHeader& header, bool checksum_matched,
                                                const ReceivedData& data,
                                                std::uint64_t stored_size) {
    if (!checksum_matched || !data.describesItself()) return std::nullopt;
    const std::uint64_t length = kLinkHeaderSize + std::uint64_t{header.data_length};
    if (stored_size < kLinkHeaderSize + kBlockDataSize || length > stored_size) return std::nullopt;
    // Past the start of the last block: the blocks before it are all data.
    if (length <= stored_size - kBlockDataSize) return std::nullopt;
    return length;
}

}  // namespace zoedit::link
