// The bytes that travel between the PC and the receiver: single link bytes,
// the 65-byte header frame and the 1,029-byte data block frame. The same
// frames serve both directions; only who sends which changes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "database/channel_database.h"

namespace zoedit::link {

inline constexpr std::uint8_t LINK_READY = 0x01;
inline constexpr std::uint8_t LINK_BLOCK = 0x02;
inline constexpr std::uint8_t LINK_END = 0x03;
inline constexpr std::uint8_t LINK_HEADER = 0x08;
inline constexpr std::uint8_t LINK_ACK = 0x10;
inline constexpr std::uint8_t LINK_BAD_HW = 0x12;
inline constexpr std::uint8_t LINK_BAD_SW = 0x13;
inline constexpr std::uint8_t LINK_BAD_MODEL = 0x14;
inline constexpr std::uint8_t LINK_BAD_CHECKSUM = 0x15;
inline constexpr std::uint8_t LINK_BAD_VERIFY = 0x16;
inline constexpr std::uint8_t LINK_DONE = 0x17;

inline constexpr std::size_t kLinkHeaderSize = 64;
inline constexpr std::size_t kHeaderFrameSize = 1 + kLinkHeaderSize;
inline constexpr std::size_t kBlockDataSize = 1024;
inline constexpr std::size_t kBlockFrameSize = 3 + kBlockDataSize + 2;

using HeaderFrame = std::array<std::uint8_t, kHeaderFrameSize>;
using BlockFrame = std::array<std::uint8_t, kBlockFrameSize>;

// Writes bytes to the line. Never fails from the machines' point of view:
// write errors go undetected by the protocol.
using SendBytes = std::function<void(std::span<const std::uint8_t>)>;

// The 64 header bytes of a channel file (or of a received header frame
// without its first byte) as fields. `model_id` always ends in a NUL.
FileHeader parseLinkHeader(std::span<const std::uint8_t, kLinkHeaderSize> bytes);

// The header's 64 bytes rebuilt from its fields, in file order.
std::array<std::uint8_t, kLinkHeaderSize> linkHeaderBytes(const FileHeader& header);

// LINK_HEADER followed by the 64 header bytes.
HeaderFrame headerFrame(const FileHeader& header);

// LINK_BLOCK, 0x00, 0xFF, the 1,024 data bytes, 0x00, 0xFF.
BlockFrame blockFrame(std::span<const std::uint8_t, kBlockDataSize> data);

// Size of the download's transfer image for a file of `file_size` bytes
// (at least the header): the header plus whole blocks, always one more block
// than fits the data, so a data length that is a whole number of blocks still
// ends with a block of 0xFF.
std::size_t transferImageSize(std::size_t file_size);

// The receiver's version words as the progress dialog shows them: from the
// "%.4x" text s, hardware "s0.s[-2..].s1s2", software "s0.s2s3.s[-2..]".
std::string hardwareVersionText(std::uint32_t version);
std::string softwareVersionText(std::uint32_t version);

// `model_id` up to its first NUL, at most 32 characters.
std::string modelIdText(const FileHeader& header);

// The download dialog's position text, "%d/%d", and the upload dialog's
// count text, "%d " (with its trailing blank).
std::string downloadPositionText(std::uint32_t position, std::uint32_t total);
std::string uploadCountText(std::uint32_t count);

}  // namespace zoedit::link
