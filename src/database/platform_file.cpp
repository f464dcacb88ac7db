// The atomic writer's file-system calls, one branch per platform. The
// temporary file is made in the target's own folder, so that the rename stays
// on one file system.
#include "database/platform_file.h"

#if defined(_WIN32)

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <atomic>

namespace zoedit::platform {

namespace {

// Paths are UTF-8 inside the program; the system takes them wide.
std::wstring widened(const std::string& text) {
    if (text.empty()) return {};
    const int n =
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

Failure systemError(DWORD error) {
    char* text = nullptr;
    const DWORD n = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message =
        n > 0 && text != nullptr ? std::string(text, n) : "System error " + std::to_string(error);
    if (text != nullptr) ::LocalFree(text);
    while (!message.empty() &&
           (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
        message.pop_back();
    return message;
}

Failure lastError() {
    return systemError(::GetLastError());
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    if (slash == std::string::npos) return ".";
    return path.substr(0, slash == 0 || (slash == 2 && path[1] == ':') ? slash + 1 : slash);
}

std::string baseNameOf(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

struct TemporaryFile::Native {
    std::string target_utf8;
    std::wstring target;
    std::wstring temp_path;
    HANDLE handle = INVALID_HANDLE_VALUE;
    bool target_exists = false;
};

TemporaryFile::TemporaryFile() : native_(std::make_unique<Native>()) {}

TemporaryFile::~TemporaryFile() {
    remove();
}

bool TemporaryFile::isOpen() const {
    return native_->handle != INVALID_HANDLE_VALUE;
}

const std::string& TemporaryFile::targetPath() const {
    return native_->target_utf8;
}

bool TemporaryFile::replacesExistingFile() const {
    return native_->target_exists;
}

Failure TemporaryFile::create(const std::string& path) {
    remove();
    Native& n = *native_;
    if (path.empty()) return systemError(ERROR_FILE_NOT_FOUND);
    n.target_utf8 = path;
    n.target = widened(path);
    const DWORD attributes = ::GetFileAttributesW(n.target.c_str());
    n.target_exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (n.target_exists) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) return std::string("Is a directory");
        if (attributes & FILE_ATTRIBUTE_DEVICE) return std::string("Not a regular file");
        // Marked read-only by its owner: a rename over it would ignore that.
        if (attributes & FILE_ATTRIBUTE_READONLY) return systemError(ERROR_ACCESS_DENIED);
    } else if (::GetLastError() != ERROR_FILE_NOT_FOUND) {
        return lastError();
    }
    static std::atomic<unsigned> counter{0};
    const std::string stem = folderOf(path) + "\\." + baseNameOf(path) + ".tmp" +
                             std::to_string(::GetCurrentProcessId()) + "_";
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring candidate = widened(stem + std::to_string(counter++));
        n.handle = ::CreateFileW(candidate.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                 CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (n.handle != INVALID_HANDLE_VALUE) {
            n.temp_path = candidate;
            return std::nullopt;
        }
        if (::GetLastError() != ERROR_FILE_EXISTS) break;
    }
    return lastError();
}

Failure TemporaryFile::write(std::span<const std::uint8_t> bytes) {
    if (!isOpen()) return systemError(ERROR_INVALID_HANDLE);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(native_->handle, bytes.data() + done, chunk, &written, nullptr))
            return lastError();
        done += written;
    }
    return std::nullopt;
}

Failure TemporaryFile::read(std::uint64_t offset, std::span<std::uint8_t> out, std::size_t& got) {
    got = 0;
    if (!isOpen()) return systemError(ERROR_INVALID_HANDLE);
    while (got < out.size()) {
        OVERLAPPED at{};
        const std::uint64_t position = offset + got;
        at.Offset = static_cast<DWORD>(position);
        at.OffsetHigh = static_cast<DWORD>(position >> 32);
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(out.size() - got, 1u << 30));
        DWORD n = 0;
        if (!::ReadFile(native_->handle, out.data() + got, chunk, &n, &at)) {
            if (::GetLastError() == ERROR_HANDLE_EOF) break;
            return lastError();
        }
        if (n == 0) break;
        got += n;
    }
    return std::nullopt;
}

Failure TemporaryFile::truncate(std::uint64_t size) {
    if (!isOpen()) return systemError(ERROR_INVALID_HANDLE);
    LARGE_INTEGER to{};
    to.QuadPart = static_cast<LONGLONG>(size);
    if (!::SetFilePointerEx(native_->handle, to, nullptr, FILE_BEGIN) ||
        !::SetEndOfFile(native_->handle))
        return lastError();
    // Appending goes on at the end.
    to.QuadPart = 0;
    if (!::SetFilePointerEx(native_->handle, to, nullptr, FILE_END)) return lastError();
    return std::nullopt;
}

Failure TemporaryFile::replaceTarget(const std::function<void()>& before_rename) {
    Native& n = *native_;
    if (!isOpen()) return systemError(ERROR_INVALID_HANDLE);
    if (!::FlushFileBuffers(n.handle)) return lastError();
    ::CloseHandle(n.handle);
    n.handle = INVALID_HANDLE_VALUE;
    if (before_rename) before_rename();
    // Replacing keeps the old file's attributes and permissions; a new file
    // is moved in place, through to the disk.
    const BOOL done = n.target_exists
                          ? ::ReplaceFileW(n.target.c_str(), n.temp_path.c_str(), nullptr,
                                           REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                          : ::MoveFileExW(n.temp_path.c_str(), n.target.c_str(),
                                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!done) return lastError();
    n.temp_path.clear();
    return std::nullopt;
}

void TemporaryFile::remove() {
    Native& n = *native_;
    if (n.handle != INVALID_HANDLE_VALUE) ::CloseHandle(n.handle);
    n.handle = INVALID_HANDLE_VALUE;
    if (!n.temp_path.empty()) ::DeleteFileW(n.temp_path.c_str());
    n.temp_path.clear();
}

}  // namespace zoedit::platform

#else  // POSIX

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>

// Reached through the folder's descriptor, the temporary file can be removed
// even when the folder was moved or replaced while it was written.
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

const std::string& TemporaryFile::targetPath() const {
    return native_->target;
}

bool TemporaryFile::replacesExistingFile() const {
    return native_->target_exists;
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

Failure TemporaryFile::replaceTarget(const std::function<void()>& before_rename) {
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
    if (before_rename) before_rename();
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

#endif
