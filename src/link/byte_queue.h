// The receive queue between the serial watcher (the only producer) and the
// user-interface thread (the only consumer). No lock: each side moves only its
// own index and reads the other's, so the two never wait for each other.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace zoedit::link {

class CByteQueue {
public:
    static constexpr std::int32_t kBufferSize = 65536;
    // One slot always stays free so that a full queue and an empty one differ.
    static constexpr std::int32_t kCapacity = kBufferSize - 1;

    CByteQueue() = default;
    CByteQueue(const CByteQueue&) = delete;
    CByteQueue& operator=(const CByteQueue&) = delete;

    // (head - tail + 65536) mod 65536. Exact on either side's own thread; the
    // other side may only move it in its own favour (more room, more bytes).
    std::int32_t size() const;

    // Producer side. put() refuses a byte when the queue is full.
    bool put(std::uint8_t byte);
    // Stores all `count` bytes, or none when they do not fit whole.
    bool putAll(const std::uint8_t* bytes, std::size_t count);

    // Consumer side. get() refuses when empty and leaves `byte` untouched.
    bool get(std::uint8_t& byte);
    // Takes up to `max` bytes in order; returns how many.
    std::size_t getSome(std::uint8_t* out, std::size_t max);

    // Empties the queue and zeroes the buffer. Only while no producer runs
    // (the port is closed), because it moves the producer's index too.
    void clear();

private:
    static std::int32_t distance(std::int32_t head, std::int32_t tail) {
        return (head - tail + kBufferSize) % kBufferSize;
    }

    std::array<std::uint8_t, kBufferSize> buffer_{};
    // Each index sits on its own cache line so the two threads do not fight.
    alignas(64) std::atomic<std::int32_t> head_{0};
    alignas(64) std::atomic<std::int32_t> tail_{0};
};

}  // namespace zoedit::link
