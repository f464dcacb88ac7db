#include "database/file_integrity.h"

#include <cstdio>

#include "database/big_endian.h"
#include "database/channel_file.h"

namespace zoedit {
namespace {

template <typename... Args>
std::string line(const char* fmt, Args... args) {
    char buffer[160];
    const int n = std::snprintf(buffer, sizeof buffer, fmt, args...);
    return n < 0 ? std::string() : std::string(buffer, std::min<std::size_t>(n, sizeof buffer - 1));
}

}  // namespace

FileIntegrity checkFileIntegrity(std::span<const std::uint8_t> file) {
    FileIntegrity result;
    if (file.size() < kFormatBlockEnd + 2) return result;
    const std::size_t size = file.size();
    result.expected_data_length = static_cast<std::uint32_t>(size - kHeaderSize);
    result.expected_tail_length = static_cast<std::uint32_t>(size - kFormatBlockEnd);
    result.expected_checksum = byteSum16(file.subspan(kHeaderSize));
    result.expected_trailer = crc16Arc(file.subspan(kHeaderSize, size - kHeaderSize - 2));
    result.lengths_ok = be::get32(&file[12]) == result.expected_data_length &&
                        be::get32(&file[76]) == result.expected_tail_length;
    result.checksum_ok = be::get16(&file[6]) == result.expected_checksum;
    result.trailer_ok = be::get16(&file[size - 2]) == result.expected_trailer;
    return result;
}

std::vector<std::string> describeIntegrity(std::span<const std::uint8_t> file,
                                           const FileIntegrity& integrity) {
    std::vector<std::string> out;
    if (file.size() < kFormatBlockEnd + 2) {
        out.push_back(line("file: %zu bytes is too short for a channel file", file.size()));
        return out;
    }
    const auto data_length = be::get32(&file[12]);
    const auto tail_length = be::get32(&file[76]);
    if (data_length != integrity.expected_data_length)
        out.push_back(line("header: data_length %u is not the file size minus 64 (%u)",
                           unsigned{data_length}, unsigned{integrity.expected_data_length}));
    if (tail_length != integrity.expected_tail_length)
        out.push_back(line("format block: tail_length %u is not the file size minus 80 (%u)",
                           unsigned{tail_length}, unsigned{integrity.expected_tail_length}));
    if (!integrity.checksum_ok)
        out.push_back(line("header: checksum 0x%04x is not the byte sum 0x%04x",
                           unsigned{be::get16(&file[6])}, unsigned{integrity.expected_checksum}));
    if (!integrity.trailer_ok)
        out.push_back(line("trailer: 0x%04x is not the CRC-16 0x%04x",
                           unsigned{be::get16(&file[file.size() - 2])},
                           unsigned{integrity.expected_trailer}));
    return out;
}

}  // namespace zoedit
