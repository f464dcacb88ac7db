#include "link/rate_meter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zoedit::link {

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
    const auto whole = static_cast<long long>(std::ceil(std::max(0.0, seconds)));
    char text[32];
    if (whole >= 3600) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60,
                      whole % 60);
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    }
    return text;
}

std::string RateMeter::report(std::uint64_t position, std::uint64_t total, double seconds) {
    if (reports_++ == 0) {
        first_position_ = position;
        first_seconds_ = seconds;
        return {};
    }
    const double elapsed = seconds - first_seconds_;
    // Positions may stand still or go back (a second post of the total).
    if (reports_ < kReportsBeforeRate || elapsed <= 0.0 || position <= first_position_) return {};
    const double rate = static_cast<double>(position - first_position_) / elapsed;
    std::string text = rateText(rate);
    if (total > position)
        text += ", " + durationText(static_cast<double>(total - position) / rate) + " left";
    return text;
}

}  // namespace zoedit::link
