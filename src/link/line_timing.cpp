#include "link/line_timing.h"

#include <algorithm>
#include <cstdint>

namespace zoedit::link {

namespace {
constexpr std::chrono::milliseconds kAllowance{250};
}

int bitsPerCharacter(const LineSettings& s) {
    const int parity = s.parity == Parity::None ? 0 : 1;
    const int stop = s.stop_bits == StopBits::One ? 1 : 2;
    return 1 + std::clamp(s.data_bits, 5, 8) + parity + stop;
}

std::chrono::milliseconds lineTimeBound(std::size_t bytes, const LineSettings& s) {
    const std::uint64_t baud = std::max<std::uint32_t>(s.baud_rate, 1);
    const std::uint64_t bits = static_cast<std::uint64_t>(bytes) * bitsPerCharacter(s);
    const std::uint64_t ms = (bits * 1000 + baud - 1) / baud;
    return std::chrono::milliseconds(static_cast<std::int64_t>(2 * ms)) + kAllowance;
}

}  // namespace zoedit::link
