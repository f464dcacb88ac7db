#include "link/byte_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace zoedit::link {
namespace {

// Moves both indexes to `position` (an empty queue) through the public API.
void advanceTo(CByteQueue& q, int position) {
    std::vector<std::uint8_t> scratch(static_cast<std::size_t>(position));
    ASSERT_TRUE(q.putAll(scratch.data(), scratch.size()));
    ASSERT_EQ(q.getSome(scratch.data(), scratch.size()), scratch.size());
    ASSERT_EQ(q.size(), 0);
}

TEST(ByteQueue, NewQueueIsEmptyAndGetChangesNothing) {
    auto q = std::make_unique<CByteQueue>();
    EXPECT_EQ(q->size(), 0);
    std::uint8_t b = 0xAB;
    EXPECT_FALSE(q->get(b));
    EXPECT_EQ(b, 0xAB);
    EXPECT_EQ(q->size(), 0);
}

TEST(ByteQueue, SizeAcrossTheWrapAndOrderKept) {
    auto q = std::make_unique<CByteQueue>();
    advanceTo(*q, 65530);
    for (int i = 0; i < 11; ++i) ASSERT_TRUE(q->put(static_cast<std::uint8_t>(i)));
    // head has wrapped to 5 while tail stays at 65530.
    EXPECT_EQ(q->size(), 11);
    for (int i = 0; i < 11; ++i) {
        std::uint8_t b = 0;
        ASSERT_TRUE(q->get(b));
        EXPECT_EQ(b, i);
    }
    EXPECT_EQ(q->size(), 0);
}

TEST(ByteQueue, HoldsAtMost65535Bytes) {
    auto q = std::make_unique<CByteQueue>();
    advanceTo(*q, 1000);  // fill across the wrap, not just from 0
    for (int i = 0; i < 65535; ++i) ASSERT_TRUE(q->put(static_cast<std::uint8_t>(i)));
    EXPECT_EQ(q->size(), 65535);
    EXPECT_FALSE(q->put(0));
    EXPECT_EQ(q->size(), 65535);
    std::uint8_t b = 0;
    ASSERT_TRUE(q->get(b));
    EXPECT_EQ(b, 0);
    EXPECT_TRUE(q->put(0));
    EXPECT_FALSE(q->put(0));
}

TEST(ByteQueue, ChunkStoredWholeOnlyWhenItFits) {
    auto q = std::make_unique<CByteQueue>();
    std::vector<std::uint8_t> bulk(60000, 0x11);
    ASSERT_TRUE(q->putAll(bulk.data(), bulk.size()));

    std::vector<std::uint8_t> too_big(5536, 0x22);
    EXPECT_FALSE(q->putAll(too_big.data(), too_big.size()));
    EXPECT_EQ(q->size(), 60000);  // nothing of the refused chunk went in

    std::vector<std::uint8_t> exact(5535, 0x33);
    EXPECT_TRUE(q->putAll(exact.data(), exact.size()));
    EXPECT_EQ(q->size(), 65535);
    EXPECT_FALSE(q->put(0));

    std::vector<std::uint8_t> out(70000);
    ASSERT_EQ(q->getSome(out.data(), out.size()), 65535u);
    EXPECT_EQ(out[59999], 0x11);
    EXPECT_EQ(out[60000], 0x33);
    EXPECT_EQ(out[65534], 0x33);
}

TEST(ByteQueue, ClearEmptiesAndRestartsAtZero) {
    auto q = std::make_unique<CByteQueue>();
    advanceTo(*q, 65000);
    std::vector<std::uint8_t> bytes(2000, 0x5A);
    ASSERT_TRUE(q->putAll(bytes.data(), bytes.size()));
    q->clear();
    EXPECT_EQ(q->size(), 0);
    std::uint8_t b = 1;
    EXPECT_FALSE(q->get(b));
    std::vector<std::uint8_t> fill(65535, 0x01);
    EXPECT_TRUE(q->putAll(fill.data(), fill.size()));
    EXPECT_FALSE(q->put(0));
}

// One producer and one consumer on their own threads: every byte arrives once
// and in order, including while the queue keeps running full and wrapping.
TEST(ByteQueue, ProducerAndConsumerThreadsLoseNothing) {
    auto q = std::make_unique<CByteQueue>();
    constexpr std::size_t kTotal = 3'000'000;
    // Lost bytes would leave the consumer waiting, a queue that refuses
    // would leave the producer waiting: both give up at the deadline.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::atomic<bool> give_up{false};
    std::size_t sent = 0;
    std::thread producer([&] {
        std::uint8_t chunk[777];
        while (sent < kTotal && !give_up) {
            const std::size_t n = std::min(sizeof chunk, kTotal - sent);
            for (std::size_t i = 0; i < n; ++i)
                chunk[i] = static_cast<std::uint8_t>((sent + i) % 251);
            if (q->putAll(chunk, n)) {
                sent += n;
            } else {
                std::this_thread::yield();
            }
        }
    });
    std::size_t received = 0;
    std::size_t mismatches = 0;
    std::uint8_t out[1000];
    while (received < kTotal && std::chrono::steady_clock::now() < deadline) {
        const std::size_t n = q->getSome(out, (received % 3 == 0) ? 1 : sizeof out);
        for (std::size_t i = 0; i < n; ++i) {
            if (out[i] != (received + i) % 251) ++mismatches;
        }
        received += n;
        if (n == 0) std::this_thread::yield();
    }
    give_up = true;
    producer.join();
    ASSERT_EQ(received, kTotal) << "only " << received << " bytes arrived within 10 s, " << sent
                                << " were put";
    EXPECT_EQ(mismatches, 0u);
    EXPECT_EQ(q->size(), 0);
}

}  // namespace
}  // namespace zoedit::link
