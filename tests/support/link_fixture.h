// Channel files and event recorders for the receiver link's tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "link/transfer_events.h"

namespace zoedit::test {

// A file with a valid 64-byte header (magic, `usage_type`, byte-sum
// checksum, data_length = data_size) and `data_size` bytes of varied data.
std::vector<std::uint8_t> makeLinkFile(std::size_t data_size, std::uint16_t usage_type = 3,
                                       std::uint32_t secondary_length = 0, std::uint32_t seed = 1);

// Makes the data of a makeLinkFile image describe itself as a saved channel
// file does: the accepted format id, tail_length = data_length - 16, the
// CRC-16 trailer; the header's checksum follows.
void sealLinkFile(std::vector<std::uint8_t>& file);

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path);
void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// A fresh empty directory under the system's temporary directory, removed
// with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::filesystem::path path(const std::string& name) const { return dir_ / name; }
    const std::filesystem::path& dir() const { return dir_; }

private:
    std::filesystem::path dir_;
};

// Records what a transfer machine shows, in order.
class RecordingEvents : public link::TransferEvents {
public:
    void progress(std::uint32_t position) override { positions.push_back(position); }
    void close() override { ++closes; }
    void messageBox(const std::string& text) override { messages.push_back(text); }
    void statusText(const std::string& text) override { status = text; }

    std::vector<std::uint32_t> positions;
    std::vector<std::string> messages;
    std::string status;
    int closes = 0;
};

}  // namespace zoedit::test
