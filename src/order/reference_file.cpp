#include "order/reference_file.h"

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "database/channel_file.h"
#include "order/csv_reference.h"

namespace zoedit::order {
namespace {

bool looksLikeChannelFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() >= 4 && bytes[0] == 0x55 && bytes[1] == 0xAA && bytes[2] == 0x55 &&
        bytes[3] == 0xAA)
        return true;
    const auto dot = path.rfind('.');
    std::string extension = dot == std::string::npos ? "" : path.substr(dot);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".bin" || extension == ".sgn";
}

std::optional<std::vector<std::uint8_t>> readWhole(const std::string& path, std::string& error) {
    std::error_code not_known;
    if (std::filesystem::is_directory(path, not_known)) {
        error = std::strerror(EISDIR);
        return std::nullopt;
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (!file) {
        error = std::strerror(errno);
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[64 * 1024];
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, file.get());
        bytes.insert(bytes.end(), buffer, buffer + n);
        if (n < sizeof buffer) break;
    }
    if (std::ferror(file.get())) {
        error = std::strerror(errno ? errno : EIO);
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

ReadReferenceSource readReferenceSource(const std::string& path) {
    ReadReferenceSource read;
    std::string error;
    auto bytes = readWhole(path, error);
    if (!bytes) {
        read.error = "cannot read " + path + ": " + error;
        return read;
    }
    ReferenceSource source;
    source.path = path;
    if (looksLikeChannelFile(path, *bytes)) {
        auto db = std::make_shared<ChannelDatabase>();
        const LoadResult result = readChannelFile(*bytes, *db);
        if (!result.ok()) {
            std::string reasons;
            for (const auto& m : result.messages) reasons += (reasons.empty() ? "" : " / ") + m;
            read.error = path + ": " + (reasons.empty() ? "cannot be read" : reasons);
            return read;
        }
        source.database = std::move(db);
    } else {
        source.csv.assign(bytes->begin(), bytes->end());
    }
    read.source = std::move(source);
    return read;
}

ReferenceResult referenceOf(const ReferenceSource& source, ChannelKind csv_list, CodePage page) {
    if (source.database) return {referenceFromDatabase(*source.database), {}};
    CsvReference csv = readCsvReference(source.csv, csv_list, page);
    if (!csv.reference) return {std::nullopt, source.path + ": " + csv.message()};
    return {std::move(csv.reference), {}};
}

}  // namespace zoedit::order
