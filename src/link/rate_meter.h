// Transfer rate and time left for the progress dialogs. Measured from the
// first progress report on, so that the wait for the receiver to start does
// not count as slowness.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zoedit::link {

class RateMeter {
public:
    // Reports needed before a rate is shown: the first few blocks say little.
    static constexpr int kReportsBeforeRate = 3;

    // A progress report at `seconds` on any steady clock. Returns the text to
    // show: "3.4 KB/s, 0:12 left" (without a time left when the total is 0 or
    // already reached), or empty while too little has passed.
    std::string report(std::uint64_t position, std::uint64_t total, double seconds);
    void reset() { *this = RateMeter(); }

private:
    int reports_ = 0;
    std::uint64_t first_position_ = 0;
    double first_seconds_ = 0.0;
};

std::string rateText(double bytes_per_second);
std::string durationText(double seconds);

}  // namespace zoedit::link
