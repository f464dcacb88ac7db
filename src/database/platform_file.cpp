// The atomic writer's file-system calls on a POSIX system. The temporary file
// is made in the target's own folder, so that the rename stays on one file
// system, and is reached through that folder's descriptor: it can be removed
// even when the folder was moved or replaced while it was written.
#include "database/platform_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace zoedit::platform {

namespace {

Failure systemError(int error) {
    return std::string(std::strerror(error));
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

void closeQuietly(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

}  // namespace

struct TemporaryFile::Native {
    std::string target;
    std::string folder;
    std::string temp_name;  // inside `folder`
    int folder_fd = -1;
    int fd = -1;
    bool target_exists = false;
    struct stat target_stat {};
};

TemporaryFile::TemporaryFile() : native_(std::make_unique<Native>()) {}

TemporaryFile::~TemporaryFile() {
    remove();
}

bool TemporaryFile::isOpen() const {
    return native_->fd >= 0;
}

Failure TemporaryFile::create(const std::string& path) {
    remove();
    Native& n = *native_;
    if (path.empty()) return systemError(ENOENT);
    n.target = resolvedTarget(path);
    n.folder = folderOf(n.target);

    n.target_exists = ::stat(n.target.c_str(), &n.target_stat) == 0;
    if (n.target_exists) {
        const mode_t mode = n.target_stat.st_mode;
        if (S_ISDIR(mode)) return systemError(EISDIR);
        // A device or a pipe would be replaced by a plain file, not written.
        if (!S_ISREG(mode)) return std::string("Not a regular file");
        // A file without any write bit was marked read-only by its owner;
        // replacing it by rename would ignore that, even for root.
        if ((mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(n.target.c_str(), W_OK) != 0)
            return systemError(EACCES);
    } else if (errno != ENOENT) {
        return systemError(errno);
    }

    n.folder_fd = ::open(n.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (n.folder_fd < 0) return systemError(errno);
    static std::atomic<unsigned> counter{0};
    const std::string stem = "." + baseNameOf(n.target) + ".tmp" + std::to_string(::getpid()) + "_";
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = stem + std::to_string(counter++);
        // Mode 0666 less the umask, as any new file the program makes.
        n.fd = ::openat(n.folder_fd, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (n.fd >= 0) {
            n.temp_name = name;
            return std::nullopt;
        }
        if (errno != EEXIST) break;
    }
    const int error = errno;
    closeQuietly(n.folder_fd);
    return systemError(error);
}

Failure TemporaryFile::write(std::span<const std::uint8_t> bytes) {
    if (native_->fd < 0) return systemError(EBADF);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(native_->fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno == EINTR) continue;
            return systemError(errno);
        }
        done += static_cast<std::size_t>(written);
    }
    return std::nullopt;
}

Failure TemporaryFile::read(std::uint64_t offset, std::span<std::uint8_t> out, std::size_t& got) {
    got = 0;
    if (native_->fd < 0) return systemError(EBADF);
    while (got < out.size()) {
        const ssize_t n = ::pread(native_->fd, out.data() + got, out.size() - got,
                                  static_cast<off_t>(offset + got));
        if (n < 0) {
            if (errno == EINTR) continue;
            return systemError(errno);
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    return std::nullopt;
}

Failure TemporaryFile::truncate(std::uint64_t size) {
    if (native_->fd < 0) return systemError(EBADF);
    if (::ftruncate(native_->fd, static_cast<off_t>(size)) != 0) return systemError(errno);
    return std::nullopt;
}

Failure TemporaryFile::replaceTarget() {
    Native& n = *native_;
    if (n.fd < 0) return systemError(EBADF);
    if (n.target_exists) {
        // Keep the owner where we may (only a privileged user can give a file
        // away), and always the permissions.
        if (::fchown(n.fd, n.target_stat.st_uid, n.target_stat.st_gid) != 0) errno = 0;
        if (::fchmod(n.fd, n.target_stat.st_mode & 07777) != 0) return systemError(errno);
    }
    if (::fsync(n.fd) != 0) return systemError(errno);
    const int closed = ::close(n.fd);
    n.fd = -1;
    if (closed != 0) return systemError(errno);
    // By path: if the folder was moved or replaced meanwhile, the file must
    // not land anywhere but where the user asked for it.
    const std::string temp_path = (n.folder == "/" ? "" : n.folder) + "/" + n.temp_name;
    if (::rename(temp_path.c_str(), n.target.c_str()) != 0) return systemError(errno);
    n.temp_name.clear();
    ::fsync(n.folder_fd);  // best effort: the data itself is already on disk
    closeQuietly(n.folder_fd);
    return std::nullopt;
}

void TemporaryFile::remove() {
    Native& n = *native_;
    closeQuietly(n.fd);
    if (n.folder_fd >= 0 && !n.temp_name.empty()) ::unlinkat(n.folder_fd, n.temp_name.c_str(), 0);
    n.temp_name.clear();
    closeQuietly(n.folder_fd);
}

}  // namespace zoedit::platform
