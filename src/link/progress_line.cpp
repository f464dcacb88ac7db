#include "link/progress_line.h"

#include <cmath>
#include <cstdio>

namespace zoedit::link {

namespace {

std::string rateText(double bytes_per_second) {
    char text[32];
    if (bytes_per_second >= 1024.0 * 1024.0) {
        std::snprintf(text, sizeof text, "%.1f MB/s", bytes_per_second / (1024.0 * 1024.0));
    } else if (bytes_per_second >= 1024.0) {
        std::snprintf(text, sizeof text, "%.1f KB/s", bytes_per_second / 1024.0);
    } else {
        std::snprintf(text, sizeof text, "%.0f B/s", bytes_per_second);
    }
    return text;
}

std::string durationText(double seconds) {
    const auto whole = static_cast<long long>(std::ceil(seconds));
    char text[32];
    if (whole >= 3600) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60,
                      whole % 60);
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    }
    return text;
}

}  // namespace

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
