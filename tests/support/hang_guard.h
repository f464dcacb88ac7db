// A fault that spins in a loop never lets a test's own bounds run: the guard
// watches from a thread of its own and, once its bound has passed, names the
// case and what it waited for and ends the program, long before the runner's
// time-out would.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace zoedit::test {

class HangGuard {
public:
    HangGuard(std::string test_case, std::chrono::seconds bound)
        : case_(std::move(test_case)), thread_([this, bound] { watch(bound); }) {}
    ~HangGuard() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    HangGuard(const HangGuard&) = delete;
    HangGuard& operator=(const HangGuard&) = delete;

    void expecting(std::string what) {
        std::lock_guard lock(mutex_);
        what_ = std::move(what);
    }

private:
    void watch(std::chrono::seconds bound) {
        std::unique_lock lock(mutex_);
        if (wake_.wait_for(lock, bound, [this] { return done_; })) return;
        std::fprintf(stderr, "FAIL: %s still running after %lld s; waiting for: %s\n",
                     case_.c_str(), static_cast<long long>(bound.count()),
                     what_.empty() ? "nothing named" : what_.c_str());
        std::fflush(stderr);
        std::_Exit(3);
    }

    std::string case_;
    std::string what_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    std::thread thread_;  // last: starts once the rest is in place
};

}  // namespace zoedit::test
