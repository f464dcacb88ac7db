#include "link/progress_line.h"

#include <gtest/gtest.h>

namespace zoedit::link {
namespace {

TEST(ProgressLine, CountRateAndTimeLeft) {
    EXPECT_EQ(progressLine(1088, 2112, 1.0), "1088 of 2112 bytes, 1.1 KB/s, 0:01 left");
    EXPECT_EQ(progressLine(1000, 61000, 1.0), "1000 of 61000 bytes, 1000 B/s, 1:00 left");
    EXPECT_EQ(progressLine(2 * 1048576, 0, 1.0), "2097152 bytes, 2.0 MB/s");
    EXPECT_EQ(progressLine(100, 100 + 3600 * 100, 1.0),
              "100 of 360100 bytes, 100 B/s, 1:00:00 left");
}

TEST(ProgressLine, NothingToDivideByYet) {
    EXPECT_EQ(progressLine(0, 2112, 0.0), "0 of 2112 bytes");
    EXPECT_EQ(progressLine(0, 2112, 5.0), "0 of 2112 bytes");
    EXPECT_EQ(progressLine(500, 2112, 0.0), "500 of 2112 bytes");
}

TEST(ProgressLine, NoTimeLeftOnceDoneOrPastTheTotal) {
    EXPECT_EQ(progressLine(2112, 2112, 2.0), "2112 of 2112 bytes, 1.0 KB/s");
    EXPECT_EQ(progressLine(3000, 2112, 3.0), "3000 of 2112 bytes, 1000 B/s");
}

}  // namespace
}  // namespace zoedit::link
