// A thread-safe record of the messages a port posts, for tests to wait on.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "ui/messages.h"

namespace zoedit::testing {

class MessageLog : public ui::MessagePoster {
public:
    void postMessage(const ui::Message& message) override {
        std::lock_guard lock(mutex_);
        messages_.push_back(message);
        posted_.notify_all();
    }

    // Waits until a message `id` has been posted.
    bool waitFor(unsigned id, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        std::unique_lock lock(mutex_);
        return posted_.wait_for(lock, limit, [&] { return count(id) > 0; });
    }

    std::size_t countOf(unsigned id) {
        std::lock_guard lock(mutex_);
        return count(id);
    }

    std::vector<ui::Message> all() {
        std::lock_guard lock(mutex_);
        return messages_;
    }

    void clear() {
        std::lock_guard lock(mutex_);
        messages_.clear();
    }

private:
    std::size_t count(unsigned id) const {
        std::size_t n = 0;
        for (const auto& m : messages_) n += m.id == id ? 1 : 0;
        return n;
    }

    std::mutex mutex_;
    std::condition_variable posted_;
    std::vector<ui::Message> messages_;
};

}  // namespace zoedit::testing
