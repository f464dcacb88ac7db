// A failing write that fails for root too: a limit on the size of the files
// this process writes, as a full disk would stop it. Writes past the limit
// fail with "File too large" instead of killing the process.
#pragma once

#include <sys/resource.h>

#include <csignal>

namespace zoedit::test {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limited = saved_;
        limited.rlim_cur = bytes;
        applied_ = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, old_handler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool applied() const { return applied_; }

private:
    struct rlimit saved_ {};
    void (*old_handler_)(int) = nullptr;
    bool applied_ = false;
};

}  // namespace zoedit::test
