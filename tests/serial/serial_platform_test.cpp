// The output drain against a driver count the test scripts: a pseudo-terminal
// reports 0 unsent bytes even when its buffer is full, so only a scripted
// count shows whether the loop waits for the last byte.
#include "link/serial/serial_platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace zoedit::link {
namespace {

using namespace std::chrono_literals;

// Answers with `counts` in turn, then repeats the last one; remembers how
// often it was asked.
struct ScriptedCount {
    std::vector<long> counts;
    std::size_t asked = 0;

    long operator()() {
        const long count = counts[std::min(asked, counts.size() - 1)];
        ++asked;
        return count;
    }
};

TEST(DrainOutput, WaitsUntilTheLastByteIsOut) {
    ScriptedCount driver{{3, 2, 1, 0}};
    EXPECT_TRUE(drainOutput(std::ref(driver), 5s));
    EXPECT_EQ(driver.asked, 4u) << "the drain stopped before the driver said 0";
}

TEST(DrainOutput, AByteThatNeverLeavesEndsTheWaitAtTheBound) {
    ScriptedCount driver{{1}};
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(drainOutput(std::ref(driver), 50ms));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 50ms);
    EXPECT_GT(driver.asked, 1u);
}

}  // namespace
}  // namespace zoedit::link
