#include "database/backup_restore.h"

#include <memory>
#include <vector>

#include "database/channel_file.h"

namespace zoedit {

namespace {

std::string countsOf(const std::string& path) {
    auto db = std::make_unique<ChannelDatabase>();
    const LoadResult loaded = loadChannelFile(path, *db);
    if (loaded.status == LoadStatus::CannotOpen) return "cannot be read: " + loaded.reason;
    if (!loaded.ok()) return "not a channel file";
    return std::to_string(db->tv.count) + " TV, " + std::to_string(db->radio.count) + " radio";
}

}  // namespace

std::string backupLine(int number, const BackupEntry& entry) {
    return std::to_string(number) + "  " + backupTimeText(entry) + "  " +
           std::to_string(entry.size) + " bytes  " + countsOf(entry.path);
}

SaveResult restoreBackup(const BackupStore& store, const std::string& original,
                         const BackupEntry& backup) {
    std::vector<std::uint8_t> bytes;
    const bool read = readFileInPieces(backup.path, [&](std::span<const std::uint8_t> piece) {
        bytes.insert(bytes.end(), piece.begin(), piece.end());
        return true;
    });
    if (!read) return {false, "Cannot read the backup " + backup.path};
    return writeFileAtomically(original, bytes, store);
}

}  // namespace zoedit
