#include "link/byte_queue.h"

#include <algorithm>
#include <cstring>

namespace zoedit::link {

// Ordering: a byte is written before head is published past it (release),
// and the consumer reads head with acquire before it reads the byte. The
// consumer publishes tail with release only after it has read the byte, so
// the producer (acquire on tail) never overwrites a byte still being read.

std::int32_t CByteQueue::size() const {
    return distance(head_.load(std::memory_order_acquire), tail_.load(std::memory_order_acquire));
}

bool CByteQueue::put(std::uint8_t byte) {
    return putAll(&byte, 1);
}

bool CByteQueue::putAll(const std::uint8_t* bytes, std::size_t count) {
    const std::int32_t head = head_.load(std::memory_order_relaxed);
    const std::int32_t tail = tail_.load(std::memory_order_acquire);
    const auto room = static_cast<std::size_t>(kCapacity - distance(head, tail));
    if (count > room) return false;
    if (count == 0) return true;
    const auto start = static_cast<std::size_t>(head);
    const std::size_t first = std::min(count, static_cast<std::size_t>(kBufferSize) - start);
    std::memcpy(buffer_.data() + start, bytes, first);
    std::memcpy(buffer_.data(), bytes + first, count - first);
    head_.store(static_cast<std::int32_t>((start + count) % kBufferSize),
                std::memory_order_release);
    return true;
}

bool CByteQueue::get(std::uint8_t& byte) {
    std::uint8_t taken = 0;
    if (getSome(&taken, 1) == 0) return false;
    byte = taken;
    return true;
}

std::size_t CByteQueue::getSome(std::uint8_t* out, std::size_t max) {
    const std::int32_t tail = tail_.load(std::memory_order_relaxed);
    const std::int32_t head = head_.load(std::memory_order_acquire);
    const std::size_t count = std::min(max, static_cast<std::size_t>(distance(head, tail)));
    if (count == 0) return 0;
    const auto start = static_cast<std::size_t>(tail);
    const std::size_t first = std::min(count, static_cast<std::size_t>(kBufferSize) - start);
    std::memcpy(out, buffer_.data() + start, first);
    std::memcpy(out + first, buffer_.data(), count - first);
    tail_.store(static_cast<std::int32_t>((start + count) % kBufferSize),
                std::memory_order_release);
    return count;
}

void CByteQueue::clear() {
    buffer_.fill(0);
    tail_.store(0, std::memory_order_relaxed);
    head_.store(0, std::memory_order_release);
}

}  // namespace zoedit::link
