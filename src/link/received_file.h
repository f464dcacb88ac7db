// What the upload learns by reading back the data it stored: the byte sum the
// verdict rests on, and whether the stored image is a whole channel file
// followed only by the filler of its last block, which is then cut off.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "database/channel_database.h"

namespace zoedit::link {

// Fed the stored data (everything after the 64-byte header) in order, in
// pieces of any size, up to the `data_length` the header announced.
class ReceivedData {
public:
    explicit ReceivedData(std::uint32_t data_length) : data_length_(data_length) {}

    void take(std::span<const std::uint8_t> bytes);

    // The 16-bit sum of the data bytes taken (all of them when the file ended
    // early).
    std::uint16_t sum() const { return sum_; }
    std::uint64_t taken() const { return taken_; }
    // The announced length holds a format block and a trailer, and the bytes
    // of both agree: `format_id` is the one the reader accepts, `tail_length`
    // is data_length - 16, and the CRC-16 of the data before the trailer is
    // the trailer.
    bool describesItself() const;

private:
    std::uint32_t data_length_;
    std::uint64_t taken_ = 0;
    std::uint16_t sum_ = 0;
    std::uint16_t crc_ = 0;  // over the data before the trailer
    std::array<std::uint8_t, 16> format_block_{};
    std::array<std::uint8_t, 2> trailer_{};
};

// The length to cut the stored file to, 64 + data_length, when the upload is
// sure that everything past it is filler: the data was checked by its
// checksum and matched, it describes itself (above), and the cut takes bytes
// of the last block only. Otherwise nothing: the whole image stays.
std::optional<std::uint64_t> receivedFileLength(const FileHeader& header, bool checksum_matched,
                                                const ReceivedData& data,
                                                std::uint64_t stored_size);

}  // namespace zoedit::link
