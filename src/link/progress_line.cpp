#include "link/progress_line.h"

#include "link/rate_meter.h"

namespace zoedit::link {

std::string progressLine(std::uint64_t position, std::uint64_t total, double seconds) {
    std::string line = std::to_string(position);
    if (total > 0) line += " of " + std::to_string(total);
    line += " bytes";
    if (seconds <= 0.0 || position == 0) return line;
    const double rate = static_cast<double>(position) / seconds;
    line += ", " + rateText(rate);
    if (total > position)
        line += ", " + durationText(static_cast<double>(total - position) / rate) + " left";
    return line;
}

}  // namespace zoedit::link
