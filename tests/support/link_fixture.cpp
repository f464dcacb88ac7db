#include "support/link_fixture.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "database/big_endian.h"
#include "database/channel_database.h"
#include "database/channel_file.h"

namespace zoedit::test {

std::vector<std::uint8_t> makeLinkFile(std::size_t data_size, std::uint16_t usage_type,
                                       std::uint32_t secondary_length, std::uint32_t seed) {
    std::vector<std::uint8_t> file(64 + data_size);
    std::mt19937 random(seed);
    for (std::size_t i = 64; i < file.size(); ++i) file[i] = static_cast<std::uint8_t>(random());
    std::uint32_t sum = 0;
    for (std::size_t i = 64; i < file.size(); ++i) sum += file[i];
    std::uint8_t* h = file.data();
    be::put32(h + 0, kFileMagic);
    be::put16(h + 4, usage_type);
    be::put16(h + 6, static_cast<std::uint16_t>(sum));
    be::put32(h + 8, 0xCAFEF00D);
    be::put32(h + 12, static_cast<std::uint32_t>(data_size));
    be::put32(h + 16, 0x1234);
    be::put32(h + 20, 0x0210);
    be::put32(h + 24, 0xDEADBEEF);
    be::put32(h + 28, secondary_length);
    const char model[] = "TEST-MODEL 42";
    std::copy(model, model + sizeof model - 1, h + 32);
    return file;
}

void sealLinkFile(std::vector<std::uint8_t>& file) {
    const std::size_t size = file.size();
    be::put32(&file[64], kFormatId);
    be::put32(&file[76], static_cast<std::uint32_t>(size - 80));
    const std::span<const std::uint8_t> data(file.data() + 64, size - 64);
    be::put16(&file[size - 2], crc16Arc(data.first(data.size() - 2)));
    be::put16(&file[6], byteSum16(data));
}

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    std::random_device seed;
    for (;;) {
        dir_ = std::filesystem::temp_directory_path() /
               ("zoedit-test-" + std::to_string(seed()) + "-" + std::to_string(counter++));
        if (std::filesystem::create_directory(dir_)) return;
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
}

}  // namespace zoedit::test
