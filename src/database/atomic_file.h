// Every file the program writes reaches its name whole or not at all: the
// bytes go to a temporary file beside the target, reach the disk, and only
// then take the target's name (its owner and permissions kept). Whole, from
// a buffer, or streamed piece by piece as the bytes come.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "database/backup_store.h"
#include "database/platform_file.h"

namespace zoedit {

struct SaveResult {
    bool ok = true;
    std::string message;  // "Cannot save PATH: reason" when !ok
    // Saved, but the file it replaced could not be backed up: why.
    std::string warning{};
};

// The streaming form. Any failure, discard() and the destructor remove the
// temporary file and leave the target as it was.
class AtomicFile {
public:
    AtomicFile() = default;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Refuses a target that cannot be replaced and creates the temporary file.
    SaveResult open(const std::string& path);
    SaveResult append(std::span<const std::uint8_t> bytes);
    // Hands what was written, from `offset`, to `take` in pieces: `count`
    // bytes, or fewer when the file ends first.
    SaveResult readBack(std::uint64_t offset, std::uint64_t count,
                        const std::function<void(std::span<const std::uint8_t>)>& take);
    // Cuts what was written to `length` bytes (never longer).
    SaveResult truncate(std::uint64_t length);
    // Copies of the files this writer replaces go to `store` (none by default).
    void keepBackups(BackupStore store) { backups_ = std::move(store); }
    // Puts the file in place under the target's name, keeping a copy of the
    // file it replaces unless that holds the same bytes.
    SaveResult commit();
    void discard();

    bool active() const { return file_.isOpen(); }
    std::uint64_t size() const { return size_; }
    const std::string& path() const { return path_; }

private:
    SaveResult fail(const std::string& reason);
    bool sameAsTarget();

    std::string path_;
    platform::TemporaryFile file_;
    std::uint64_t size_ = 0;
    BackupStore backups_;
};

// The whole-buffer form.
SaveResult writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                               const BackupStore& backups = {});

}  // namespace zoedit
