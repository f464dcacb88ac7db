// The owner's side of posted messages when there is no window system: any
// thread posts, the owner's thread waits and takes them in order.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

#include "ui/messages.h"

namespace zoedit::link {

class MessageQueue : public ui::MessagePoster {
public:
    void postMessage(const ui::Message& message) override {
        {
            std::lock_guard lock(mutex_);
            messages_.push_back(message);
        }
        posted_.notify_one();
    }

    // The oldest message, waiting up to `limit` for one.
    std::optional<ui::Message> take(std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex_);
        if (!posted_.wait_for(lock, limit, [this] { return !messages_.empty(); })) {
            return std::nullopt;
        }
        const ui::Message message = messages_.front();
        messages_.pop_front();
        return message;
    }

private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<ui::Message> messages_;
};

}  // namespace zoedit::link
