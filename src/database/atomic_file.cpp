#include "database/atomic_file.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "database/channel_file.h"

namespace zoedit {

SaveResult AtomicFile::fail(const std::string& reason) {
    file_.remove();
    return {false, "Cannot save " + path_ + ": " + reason};
}

SaveResult AtomicFile::open(const std::string& path) {
    path_ = path;
    size_ = 0;
    if (auto error = file_.create(path)) return fail(*error);
    return {};
}

SaveResult AtomicFile::append(std::span<const std::uint8_t> bytes) {
    if (auto error = file_.write(bytes)) return fail(*error);
    size_ += bytes.size();
    return {};
}

SaveResult AtomicFile::readBack(std::uint64_t offset, std::uint64_t count,
                                const std::function<void(std::span<const std::uint8_t>)>& take) {
    std::vector<std::uint8_t> chunk(64 * 1024);
    while (count > 0) {
        const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(count, chunk.size()));
        std::size_t got = 0;
        if (auto error = file_.read(offset, std::span(chunk.data(), want), got))
            return fail(*error);
        if (got == 0) break;
        take(std::span<const std::uint8_t>(chunk.data(), got));
        offset += got;
        count -= got;
    }
    return {};
}

SaveResult AtomicFile::truncate(std::uint64_t length) {
    length = std::min(length, size_);
    if (auto error = file_.truncate(length)) return fail(*error);
    size_ = length;
    return {};
}

bool AtomicFile::sameAsTarget() {
    std::uint64_t offset = 0;
    bool same = true;
    std::vector<std::uint8_t> ours;
    const bool read =
        readFileInPieces(file_.targetPath(), [&](std::span<const std::uint8_t> theirs) {
            ours.resize(theirs.size());
            std::size_t got = 0;
            same = !file_.read(offset, ours, got) && got == theirs.size() &&
                   std::equal(theirs.begin(), theirs.end(), ours.begin());
            offset += theirs.size();
            return same;
        });
    return read && same && offset == size_;
}

SaveResult AtomicFile::commit() {
    const bool back_up =
        backups_.enabled() && file_.replacesExistingFile() && file_.isOpen() && !sameAsTarget();
    BackupOutcome backup;
    const std::string target = file_.targetPath();
    if (auto error = file_.replaceTarget([&] {
            if (back_up) backup = backups_.keepCopyOf(target);
        })) {
        BackupStore::withdraw(backup);
        return fail(*error);
    }
    if (!backup.made.empty()) backups_.prune(target);
    return {true, {}, backup.warning};
}

void AtomicFile::discard() {
    file_.remove();
}

SaveResult writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                               const BackupStore& backups) {
    AtomicFile file;
    file.keepBackups(backups);
    if (SaveResult r = file.open(path); !r.ok) return r;
    if (SaveResult r = file.append(bytes); !r.ok) return r;
    return file.commit();
}

SaveResult saveChannelFile(const std::string& path, ChannelDatabase& db, const SaveFolding& folding,
                           int current_transponder, const BackupStore& backups) {
    // Built on a copy so that a failed save leaves memory exactly as it was.
    auto copy = std::make_unique<ChannelDatabase>(db);
    const std::vector<std::uint8_t> bytes = buildChannelFile(*copy, folding, current_transponder);
    SaveResult result = writeFileAtomically(path, bytes, backups);
    if (result.ok) db = std::move(*copy);
    return result;
}

}  // namespace zoedit
