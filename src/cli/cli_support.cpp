#include "cli/cli_support.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "cli/command_registry.h"
#include "database/channel_file.h"

namespace zoedit::cli {

void fail(const std::string& message) {
    std::cerr << "zoedit-cli: " << message << '\n';
    exitStatus() = 1;
}

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& path,
                                                       std::string& error) {
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

std::optional<LoadedFile> loadForCommand(const std::string& path) {
    std::string error;
    auto bytes = readWholeFile(path, error);
    if (!bytes) {
        fail("cannot read " + path + ": " + error);
        return std::nullopt;
    }
    LoadedFile loaded{std::move(*bytes), std::make_unique<ChannelDatabase>()};
    const LoadResult result = readChannelFile(loaded.bytes, *loaded.db);
    if (!result.ok()) {
        std::string reasons;
        for (const auto& m : result.messages) reasons += (reasons.empty() ? "" : " / ") + m;
        fail(path + ": " + (reasons.empty() ? "cannot be read" : reasons));
        return std::nullopt;
    }
    return loaded;
}

void addCodePageOption(CLI::App& command, CodePage& page) {
    const std::map<std::string, CodePage> pages = {{"1256", CodePage::Windows1256},
                                                   {"1252", CodePage::Windows1252},
                                                   {"latin1", CodePage::Latin1}};
    command.add_option("--codepage", page, "Code page of the names in the file (default 1256)")
        ->transform(CLI::CheckedTransformer(pages, CLI::ignore_case));
}

std::string nameUtf8(std::span<const char> field, CodePage page) {
    return toUtf8(nameBytes(field), page);
}

int firstTvTransponder(const ChannelDatabase& db) {
    return db.tv.count > 0 ? db.tv.primary[0].transponder_index : -1;
}

}  // namespace zoedit::cli

namespace zoedit::cli {

int& keptBackups() {
    static int kept = kDefaultBackupsKept;
    return kept;
}

BackupStore commandBackups() {
    return BackupStore::fromEnvironment(keptBackups());
}

bool saveAsEditorDoes(const std::string& out, ChannelDatabase& db) {
    const SaveResult saved =
        saveChannelFile(out, db, SaveFolding{}, firstTvTransponder(db), commandBackups());
    if (!saved.ok) {
        fail(saved.message);
        return false;
    }
    if (!saved.warning.empty()) std::cerr << "zoedit-cli: " << saved.warning << '\n';
    std::cout << "Saved " << out << " (" << db.header.data_length + 64 << " bytes)\n";
    return true;
}

}  // namespace zoedit::cli
