#include "database/field_format.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace zoedit {
namespace {

template <typename... Args>
std::string format(const char* fmt, Args... args) {
    char buffer[64];
    const int n = std::snprintf(buffer, sizeof buffer, fmt, args...);
    return n < 0 ? std::string() : std::string(buffer, std::min<std::size_t>(n, sizeof buffer - 1));
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Leading blanks and an optional sign, as the C conversions take them.
std::size_t skipBlanksAndSign(std::string_view text, bool& negative) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    return i;
}

// The leading floating-point number of `text` as atof reads it, without
// depending on the process locale (the GUI sets one). `stop` is the index of
// the first character not taken.
double leadingDouble(std::string_view text, std::size_t& stop) {
    bool negative = false;
    std::size_t i = skipBlanksAndSign(text, negative);
    stop = 0;
    if (i >= text.size() || text[i] == '+' || text[i] == '-') return 0.0;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    double value = 0.0;
    std::from_chars_result r{first, std::errc::invalid_argument};
    if (last - first > 2 && first[0] == '0' && (first[1] == 'x' || first[1] == 'X')) {
        r = std::from_chars(first + 2, last, value, std::chars_format::hex);
        if (r.ec == std::errc::invalid_argument) r.ptr = first;
    }
    if (r.ptr == first) r = std::from_chars(first, last, value, std::chars_format::general);
    if (r.ec == std::errc::invalid_argument) return 0.0;
    stop = static_cast<std::size_t>(r.ptr - text.data());
    // Out of range: too large reads as infinite, which the caller refuses;
    // too small is as good as zero.
    if (r.ec == std::errc::result_out_of_range) value = 0.0;
    return negative ? -value : value;
}

constexpr const char* kFecTexts[] = {"AUTO", "1/2", "2/3", "3/4", "5/6", "7/8"};

}  // namespace

std::string positionText(std::uint16_t position) {
    const double x = position * 0.1;
    if (x < 180.0) return format("%05.1fE", x);
    return format("%05.1fW", 360.0 - x);
}

std::uint16_t readPositionText(std::string_view text) {
    std::size_t stop = 0;
    const double d = leadingDouble(text, stop);
    const bool west = stop > 0 && stop < text.size() && text[stop] == 'W';
    const double value = std::trunc(west ? 3600.0 - 10.0 * d : 10.0 * d);
    if (!std::isfinite(value) || std::fabs(value) > 1e15) return 0;
    // Positions go round the circle: 190.0E is 170.0W and -5.0E is 5.0W, so
    // a text outside 0..3599 lands on the position it means instead of a
    // value no satellite can have.
    long long tenths = static_cast<long long>(value) % 3600;
    if (tenths < 0) tenths += 3600;
    return static_cast<std::uint16_t>(tenths);
}

std::string hex4Text(std::uint16_t value) {
    return format("%.4x", static_cast<unsigned>(value));
}

// The typed number's low 16 bits: "12345" in hex reads as 0x2345.
std::uint16_t readHexText(std::string_view text) {
    bool negative = false;
    std::size_t i = skipBlanksAndSign(text, negative);
    if (i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        hexDigit(text[i + 2]) >= 0)
        i += 2;
    std::uint32_t value = 0;
    for (; i < text.size() && hexDigit(text[i]) >= 0; ++i)
        value = ((value << 4) | static_cast<std::uint32_t>(hexDigit(text[i]))) & 0xFFFF;
    if (negative) value = (0x10000 - value) & 0xFFFF;
    return static_cast<std::uint16_t>(value);
}

std::string decimalText(int value) {
    return format("%d", value);
}

// The typed number's low 16 bits: "70000" reads as 4464 and "-1" as 65535.
std::uint16_t readDecimalText(std::string_view text) {
    bool negative = false;
    std::size_t i = skipBlanksAndSign(text, negative);
    std::uint32_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = (value * 10 + static_cast<std::uint32_t>(text[i] - '0')) & 0xFFFF;
    if (negative) value = (0x10000 - value) & 0xFFFF;
    return static_cast<std::uint16_t>(value);
}

namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Digits only, in `base`, without overflowing 32 bits.
std::optional<std::uint32_t> wholeNumber(std::string_view digits, int base) {
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : digits) {
        const int d = hexDigit(c);
        if (d < 0 || d >= base) return std::nullopt;
        value = value * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(d);
    }
    return value;
}

}  // namespace

std::optional<std::uint16_t> parseDecimalField(std::string_view text, std::uint16_t low,
                                               std::uint16_t high) {
    const auto value = wholeNumber(trimmed(text), 10);
    if (!value || *value < low || *value > high) return std::nullopt;
    return static_cast<std::uint16_t>(*value);
}

std::optional<std::uint16_t> parseHexField(std::string_view text, std::uint16_t high) {
    std::string_view digits = trimmed(text);
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
        digits.remove_prefix(2);
    const auto value = wholeNumber(digits, 16);
    if (!value || *value > high) return std::nullopt;
    return static_cast<std::uint16_t>(*value);
}

std::optional<std::uint16_t> parsePositionField(std::string_view text) {
    std::string_view number = trimmed(text);
    bool west = false;
    if (!number.empty() && (number.back() == 'E' || number.back() == 'e' || number.back() == 'W' ||
                            number.back() == 'w')) {
        west = number.back() == 'W' || number.back() == 'w';
        number = trimmed(number.substr(0, number.size() - 1));
    }
    if (number.empty()) return std::nullopt;
    std::string_view whole = number;
    std::string_view tenth;
    if (const auto dot = number.find('.'); dot != std::string_view::npos) {
        whole = number.substr(0, dot);
        tenth = number.substr(dot + 1);
        if (tenth.size() > 1 || (whole.empty() && tenth.empty())) return std::nullopt;
    }
    std::uint32_t tenths = 0;
    if (!whole.empty()) {
        const auto degrees = wholeNumber(whole, 10);
        if (!degrees || *degrees > 180) return std::nullopt;
        tenths = *degrees * 10;
    }
    if (!tenth.empty()) {
        const auto d = wholeNumber(tenth, 10);
        if (!d) return std::nullopt;
        tenths += *d;
    }
    if (tenths > 1800) return std::nullopt;
    // West counts back from the full circle; 0.0W is 0.0E.
    if (west && tenths != 0) tenths = 3600 - tenths;
    return static_cast<std::uint16_t>(tenths);
}

std::string polarisationLetter(std::uint8_t polarisation) {
    if (polarisation == 0) return "H";
    if (polarisation == 1) return "V";
    return {};
}

std::string polarisationName(std::uint8_t polarisation) {
    return polarisation != 0 ? "Vertical" : "Horizontal";
}

std::string fecText(std::uint8_t fec) {
    return fec < std::size(kFecTexts) ? kFecTexts[fec] : "";
}

std::string channelNumberText(std::size_t number) {
    return format("%.4zu", number);
}
std::string channelPageNumberText(std::size_t number) {
    return format("%.3zu", number);
}
std::string favouritePositionText(int position) {
    return format("%.3d", position);
}

std::string transponderColumnText(const ChannelDatabase& db, const ChannelRecord& channel) {
    const TransponderRecord* tp = db.transponderOf(channel);
    if (!tp) return {};
    return format("%d %s %d %s", tp->frequency, polarisationLetter(tp->polarisation).c_str(),
                  tp->symbol_rate, fecText(tp->fec).c_str());
}

std::string satelliteColumnText(const ChannelDatabase& db, const ChannelRecord& channel) {
    const TransponderRecord* tp = db.transponderOf(channel);
    const SatelliteRecord* sat = tp ? db.satelliteOf(*tp) : nullptr;
    return sat ? nameBytes(sat->name) : std::string();
}

std::string transponderSelectorText(const TransponderRecord& transponder) {
    return format("%d%s  %d  %s", transponder.frequency,
                  polarisationLetter(transponder.polarisation).c_str(), transponder.symbol_rate,
                  fecText(transponder.fec).c_str());
}

std::string currentTransponderText(const TransponderRecord& transponder) {
    return format("%d%s  %d  %s", transponder.frequency, transponder.polarisation ? "V" : "H",
                  transponder.symbol_rate, fecText(transponder.fec).c_str());
}

SatellitePageTexts satellitePageTexts(const SatelliteRecord& satellite) {
    return {positionText(satellite.position), nameBytes(satellite.name)};
}

TransponderPageTexts transponderPageTexts(const TransponderRecord& tp) {
    return {hex4Text(tp.network_id),           hex4Text(tp.frequency_order),
            decimalText(tp.frequency),         decimalText(tp.symbol_rate),
            polarisationName(tp.polarisation), fecText(tp.fec),
            currentTransponderText(tp)};
}

ChannelPageTexts channelPageTexts(const ChannelRecord& ch) {
    return {nameBytes(ch.name),      decimalText(ch.transponder_index + 1),
            hex4Text(ch.service_id), hex4Text(ch.code_pid),
            hex4Text(ch.video_pid),  hex4Text(ch.audio_pid),
            hex4Text(ch.fourth_pid)};
}

}  // namespace zoedit
