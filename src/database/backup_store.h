// The copies of a file as it was before the program replaced it. Each file
// has a folder of its own under the store's root, keyed by the file's
// canonical path; each copy is named by the time it was taken, to the
// millisecond (UTC), and the newest `keep` are kept.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace zoedit {

inline constexpr int kDefaultBackupsKept = 10;
// Names the store's root folder outright (tests, portable installs).
inline constexpr char kBackupFolderVariable[] = "ZOEDIT_BACKUP_DIR";

struct BackupEntry {
    std::string path;
    std::string stamp;  // "2026-12-09_13-54-55.123", UTC
    int sequence = 0;   // orders copies taken within one millisecond
    std::chrono::system_clock::time_point when;
    std::uint64_t size = 0;
};

// What keeping a copy came to: the copy made (empty when none was needed or
// none could be made) and, when one could not be made, why.
struct BackupOutcome {
    std::string made;
    std::string warning;
};

class BackupStore {
public:
    // No backups at all.
    BackupStore() = default;
    BackupStore(std::string root, int keep) : root_(std::move(root)), keep_(keep) {}
    // $ZOEDIT_BACKUP_DIR, else $XDG_DATA_HOME/zoedit/backups, else
    // ~/.local/share/zoedit/backups (%LOCALAPPDATA%\zoedit\backups on Windows).
    static BackupStore fromEnvironment(int keep = kDefaultBackupsKept);

    bool enabled() const { return keep_ > 0 && !root_.empty(); }
    const std::string& root() const { return root_; }
    int keep() const { return keep_; }

    // The folder that holds the copies of `original`.
    std::string folderFor(const std::string& original) const;
    // The copies of `original`, newest first; empty when there are none.
    std::vector<BackupEntry> list(const std::string& original) const;

    // Keeps `original` as it is now: a hard link where the folder is on the
    // same file system, otherwise a copy written through the atomic writer.
    BackupOutcome keepCopyOf(const std::string& original) const;
    // Takes back a copy made for a replacement that then failed.
    static void withdraw(const BackupOutcome& outcome);
    // Removes the oldest copies of `original` beyond `keep`.
    void prune(const std::string& original) const;

private:
    std::string root_;
    int keep_ = 0;
};

// Hands the bytes of `path` to `take` piece by piece, until the end or until
// `take` answers false; false when the file cannot be read.
bool readFileInPieces(const std::string& path,
                      const std::function<bool(std::span<const std::uint8_t>)>& take);

// The time a copy was taken in the machine's time zone,
// "2026-12-09 15:54:55.123".
std::string backupTimeText(const BackupEntry& entry);

}  // namespace zoedit
