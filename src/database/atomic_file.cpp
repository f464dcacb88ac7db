// Replacing a file without ever leaving a half-written one: the new bytes go
// to a temporary file in the same folder (so the rename cannot cross file
// systems), reach the disk, and only then take the old file's name.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "database/channel_file.h"

namespace zoedit {
namespace {

SaveResult failure(const std::string& path, int error) {
    return {false, "Cannot save " + path + ": " + std::strerror(error)};
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string baseNameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A symbolic link is kept: the file it points to is the one replaced.
std::string resolvedTarget(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : path;
}

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Creates an unused temporary name beside the target; the file mode is
// 0666 less the umask, like any new file the program makes.
int createTemporary(const std::string& target, std::string& temp_path) {
    static std::atomic<unsigned> counter{0};
    const std::string stem = folderOf(target) + "/." + baseNameOf(target) + ".tmp";
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp_path = stem + std::to_string(::getpid()) + "_" + std::to_string(counter++);
        const int fd = ::open(temp_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);  // best effort: the data itself is already on disk
    ::close(fd);
}

}  // namespace

SaveResult writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    if (path.empty()) return failure(path, ENOENT);
    const std::string target = resolvedTarget(path);

    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists) {
        if (S_ISDIR(st.st_mode)) return failure(path, EISDIR);
        // A device or a pipe would be replaced by a plain file, not written.
        if (!S_ISREG(st.st_mode)) return {false, "Cannot save " + path + ": Not a regular file"};
        // A file without any write bit was marked read-only by its owner;
        // replacing it by rename would ignore that, even for root.
        if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
            ::access(target.c_str(), W_OK) != 0)
            return failure(path, EACCES);
    } else if (errno != ENOENT) {
        return failure(path, errno);
    }

    std::string temp_path;
    const int fd = createTemporary(target, temp_path);
    if (fd < 0) return failure(path, errno);

    int error = 0;
    if (!writeAll(fd, bytes)) error = errno;
    if (!error && exists) {
        // Keep the owner where we may (only a privileged user can give a file
        // away), and always the permissions.
        if (::fchown(fd, st.st_uid, st.st_gid) != 0) errno = 0;  // not fatal: it becomes ours
        if (::fchmod(fd, st.st_mode & 07777) != 0) error = errno;
    }
    if (!error && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && !error) error = errno;
    if (!error && ::rename(temp_path.c_str(), target.c_str()) != 0) error = errno;
    if (error) {
        ::unlink(temp_path.c_str());
        return failure(path, error);
    }
    syncFolder(folderOf(target));
    return {};
}

SaveResult saveChannelFile(const std::string& path, ChannelDatabase& db, const SaveFolding& folding,
                           int current_transponder) {
    // Built on a copy so that a failed save leaves memory exactly as it was.
    auto copy = std::make_unique<ChannelDatabase>(db);
    const std::vector<std::uint8_t> bytes = buildChannelFile(*copy, folding, current_transponder);
    SaveResult result = writeFileAtomically(path, bytes);
    if (result.ok) db = std::move(*copy);
    return result;
}

}  // namespace zoedit
