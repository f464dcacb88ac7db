#include "link/link_frames.h"

#include <algorithm>
#include <cstdio>

#include "database/big_endian.h"
#include "database/channel_file.h"

namespace zoedit::link {

FileHeader parseLinkHeader(std::span<const std::uint8_t, kLinkHeaderSize> bytes) {
    // The link sends the channel file's own header first; one reader for both.
    return *readFileHeader(std::span<const std::uint8_t>(bytes.data(), kHeaderSize));
}

std::array<std::uint8_t, kLinkHeaderSize> linkHeaderBytes(const FileHeader& h) {
    std::vector<std::uint8_t> out;
    out.reserve(kLinkHeaderSize);
    be::Writer w(out);
    w.u32(h.magic);
    w.u16(h.usage_type);
    w.u16(h.checksum);
    w.u32(h.opaque_8);
    w.u32(h.data_length);
    w.u32(h.hw_version);
    w.u32(h.sw_version);
    w.u32(h.opaque_24);
    w.u32(h.secondary_length);
    w.bytes(std::span<const char>(h.model_id.data(), kModelIdSize));
    std::array<std::uint8_t, kLinkHeaderSize> bytes{};
    std::copy(out.begin(), out.end(), bytes.begin());
    return bytes;
}

HeaderFrame headerFrame(const FileHeader& header) {
    HeaderFrame frame{};
    frame[0] = LINK_HEADER;
    const auto bytes = linkHeaderBytes(header);
    std::copy(bytes.begin(), bytes.end(), frame.begin() + 1);
    return frame;
}

BlockFrame blockFrame(std::span<const std::uint8_t, kBlockDataSize> data) {
    BlockFrame frame{};
    frame[0] = LINK_BLOCK;
    frame[1] = 0x00;
    frame[2] = 0xFF;
    std::copy(data.begin(), data.end(), frame.begin() + 3);
    frame[kBlockFrameSize - 2] = 0x00;
    frame[kBlockFrameSize - 1] = 0xFF;
    return frame;
}

std::size_t transferImageSize(std::size_t file_size) {
    const std::size_t data = file_size - kLinkHeaderSize;
    return kLinkHeaderSize + (data / kBlockDataSize + 1) * kBlockDataSize;
}

namespace {
std::string versionDigits(std::uint32_t version) {
    char text[16];
    std::snprintf(text, sizeof text, "%.4x", static_cast<unsigned>(version));
    return text;
}
}  // namespace

std::string hardwareVersionText(std::uint32_t version) {
    const std::string s = versionDigits(version);
    return s.substr(0, 1) + "." + s.substr(s.size() - 2) + "." + s.substr(1, 2);
}

std::string softwareVersionText(std::uint32_t version) {
    const std::string s = versionDigits(version);
    return s.substr(0, 1) + "." + s.substr(2, 2) + "." + s.substr(s.size() - 2);
}

std::string modelIdText(const FileHeader& header) {
    const auto end =
        std::find(header.model_id.begin(), header.model_id.begin() + kModelIdSize, '\0');
    return std::string(header.model_id.begin(), end);
}

std::string downloadPositionText(std::uint32_t position, std::uint32_t total) {
    char text[32];
    std::snprintf(text, sizeof text, "%d/%d", static_cast<int>(position), static_cast<int>(total));
    return text;
}

std::string uploadCountText(std::uint32_t count) {
    char text[32];
    std::snprintf(text, sizeof text, "%d ", static_cast<int>(count));
    return text;
}

}  // namespace zoedit::link
