// Whether a channel file's length words, byte sum and CRC trailer agree with
// its bytes. Loading never tests these; the command line reports them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zoedit {

// Whether the words that describe a channel file agree with its bytes.
struct FileIntegrity {
    std::uint32_t expected_data_length = 0;  // file size - 64
    std::uint32_t expected_tail_length = 0;  // file size - 80
    std::uint16_t expected_checksum = 0;     // byte sum from offset 64 to the end
    std::uint16_t expected_trailer = 0;      // CRC-16/ARC from 64 up to the trailer
    bool lengths_ok = false;
    bool checksum_ok = false;
    bool trailer_ok = false;
    bool ok() const { return lengths_ok && checksum_ok && trailer_ok; }
};

// Reads the header words straight from the bytes; a file too short to hold a
// header, a format block and a trailer fails every check.
FileIntegrity checkFileIntegrity(std::span<const std::uint8_t> file);

// One line per disagreeing word, in the manner of checkInvariants.
std::vector<std::string> describeIntegrity(std::span<const std::uint8_t> file,
                                           const FileIntegrity& integrity);

}  // namespace zoedit
