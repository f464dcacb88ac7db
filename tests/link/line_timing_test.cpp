#include "link/line_timing.h"

#include <gtest/gtest.h>

namespace zoedit::link {
namespace {

using std::chrono::milliseconds;

TEST(LineTiming, BoundFollowsFramingSpeedAndCount) {
    LineSettings s;
    s.baud_rate = 115200;
    EXPECT_EQ(bitsPerCharacter(s), 10);
    s.parity = Parity::Even;
    s.stop_bits = StopBits::OneAndHalf;
    s.data_bits = 7;
    EXPECT_EQ(bitsPerCharacter(s), 11);

    s = LineSettings{};
    s.baud_rate = 115200;
    // A block frame: 10,290 bits take 90 ms at 115,200 baud.
    EXPECT_EQ(lineTimeBound(1029, s), milliseconds(2 * 90 + 250));
    EXPECT_EQ(lineTimeBound(0, s), milliseconds(250));
    s.baud_rate = 110;
    EXPECT_EQ(lineTimeBound(11, s), milliseconds(2 * 1000 + 250));
    // A speed of 0 is refused at open; the bound still stays finite.
    s.baud_rate = 0;
    EXPECT_GT(lineTimeBound(1, s), milliseconds(250));
    // Counts far past any frame do not overflow.
    s.baud_rate = 1;
    EXPECT_GT(lineTimeBound(std::size_t{1} << 40, s), milliseconds(0));
}

}  // namespace
}  // namespace zoedit::link
