// The file-system calls behind the atomic writer, kept in one place so that
// the rest of the program sees no platform header. Every call answers the
// system's own words when it fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace zoedit::platform {

// Why a call failed ("No such file or directory"); nothing when it worked.
using Failure = std::optional<std::string>;

// A new file beside the one it will replace, written, then renamed over it.
class TemporaryFile {
public:
    TemporaryFile();
    ~TemporaryFile();  // removes the temporary file if it is still there
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Settles which file `path` names (the file a symbolic link points to),
    // refuses one that cannot be replaced (a folder, a device or pipe, a file
    // marked read-only) and creates a file of our own beside it, under a name
    // nobody else uses.
    Failure create(const std::string& path);
    Failure write(std::span<const std::uint8_t> bytes);
    // Up to out.size() bytes from `offset`; `got` is less at the end.
    Failure read(std::uint64_t offset, std::span<std::uint8_t> out, std::size_t& got);
    Failure truncate(std::uint64_t size);
    // Gives it the replaced file's owner (where allowed) and permissions,
    // puts it on the disk, renames it over the target and makes the rename
    // itself durable. `before_rename` runs when nothing but the rename is
    // left. On failure the temporary file is still to be removed.
    Failure replaceTarget(const std::function<void()>& before_rename = {});
    // Closes and deletes the temporary file, if any; the target is untouched.
    void remove();
    bool isOpen() const;
    // The file that will be replaced (a symbolic link's target), once created,
    // and whether it existed then.
    const std::string& targetPath() const;
    bool replacesExistingFile() const;

private:
    struct Native;
    std::unique_ptr<Native> native_;
};

}  // namespace zoedit::platform
