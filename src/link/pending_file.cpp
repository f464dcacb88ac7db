#include "link/pending_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace zoedit::link {

namespace {
std::string failure(const char* what, const std::string& path, int error) {
    std::string text = std::string(what) + " " + path;
    if (error != 0) text += ": " + std::string(std::strerror(error));
    return text;
}
}  // namespace

std::optional<std::string> PendingFile::create(const std::string& target) {
    discard();
    namespace fs = std::filesystem;
    // A name of our own beside the target, so the final rename stays on one
    // file system and never clobbers a file the user keeps there.
    std::string candidate;
    std::error_code ec;
    for (int i = 0; i < 1000; ++i) {
        candidate = target + ".part" + (i == 0 ? std::string() : std::to_string(i));
        if (!fs::exists(candidate, ec)) break;
    }
    errno = 0;
    out_.open(candidate, std::ios::binary | std::ios::trunc);
    if (!out_) return failure("Cannot create the file", target, errno);
    target_ = target;
    temp_path_ = candidate;
    return std::nullopt;
}

std::optional<std::string> PendingFile::append(std::span<const std::uint8_t> bytes) {
    errno = 0;
    out_.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    if (!out_) return failure("Cannot write the file", target_, errno);
    return std::nullopt;
}

std::optional<std::string> PendingFile::sumBack(std::size_t from, std::size_t count,
                                                std::uint16_t& sum) {
    errno = 0;
    out_.close();
    if (out_.fail()) return failure("Cannot write the file", target_, errno);
    std::ifstream in(temp_path_, std::ios::binary);
    if (!in) return failure("Cannot read back the file", target_, errno);
    in.seekg(static_cast<std::streamoff>(from));
    std::uint32_t total = 0;
    char chunk[8192];
    while (count > 0 && in) {
        in.read(chunk, static_cast<std::streamsize>(std::min(count, sizeof chunk)));
        const auto got = static_cast<std::size_t>(in.gcount());
        for (std::size_t i = 0; i < got; ++i) total += static_cast<std::uint8_t>(chunk[i]);
        count -= got;
        if (got == 0) break;
    }
    if (in.bad()) return failure("Cannot read back the file", target_, errno);
    sum = static_cast<std::uint16_t>(total);
    return std::nullopt;
}

std::optional<std::string> PendingFile::commit() {
    if (out_.is_open()) out_.close();
    std::error_code ec;
    std::filesystem::rename(temp_path_, target_, ec);
    if (ec) return failure("Cannot replace the file", target_, ec.value());
    temp_path_.clear();
    return std::nullopt;
}

void PendingFile::discard() {
    if (out_.is_open()) out_.close();
    if (!temp_path_.empty()) {
        std::error_code ec;
        std::filesystem::remove(temp_path_, ec);
        temp_path_.clear();
    }
}

}  // namespace zoedit::link
