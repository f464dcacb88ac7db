// Text forms of every field wherever the editor shows it, and the rules that
// read edit-field texts back into values.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "database/channel_database.h"

namespace zoedit {

// Satellite position: "%05.1fE" below 180.0 degrees, else 360-x in "%05.1fW".
std::string positionText(std::uint16_t position);
// Leading number as atof reads it; "W" after it means 3600 - 10*d; truncated
// toward zero and cut to 16 bits. Texts with no number, or with an infinite or
// NaN one, read as 0.
std::uint16_t readPositionText(std::string_view text);

std::string hex4Text(std::uint16_t value);             // "%.4x"
std::uint16_t readHexText(std::string_view text);      // base 16, optional 0x, cut to 16 bits
std::string decimalText(int value);                    // "%d"
std::uint16_t readDecimalText(std::string_view text);  // signed decimal, cut to 16 bits

// Typed values, read strictly: the whole text (blanks around it aside) must
// be the number, within its range; anything else is nothing, so that a value
// is never stored as something the user did not type.
// A decimal number from `low` to `high`.
std::optional<std::uint16_t> parseDecimalField(std::string_view text, std::uint16_t low,
                                               std::uint16_t high);
// A hex number (optional 0x) from 0 to `high`.
std::optional<std::uint16_t> parseHexField(std::string_view text, std::uint16_t high);
// A position from 0.0 to 180.0 degrees, east unless followed by W (either
// letter case), with at most one decimal: "019.2E", "5W", "180".
std::optional<std::uint16_t> parsePositionField(std::string_view text);

std::string polarisationLetter(std::uint8_t polarisation);  // "H" for 0, "V" for 1, else ""
std::string polarisationName(std::uint8_t polarisation);    // "Vertical" if non-zero
std::string fecText(std::uint8_t fec);                      // "AUTO", "1/2".."7/8", "" beyond

std::string channelNumberText(std::size_t number);      // "%.4d"
std::string channelPageNumberText(std::size_t number);  // "%0.3d"
std::string favouritePositionText(int position);        // "%.3d", "000" = not a member

// The "Transponder" and "Satellite Name" texts of a channel's list row (the
// satellite's name as bytes). A channel whose transponder_index, or whose
// transponder's satellite_index, points outside its table has no transponder
// or satellite to describe: the texts are then empty rather than showing some
// other record's data.
std::string transponderColumnText(const ChannelDatabase& db, const ChannelRecord& channel);
std::string satelliteColumnText(const ChannelDatabase& db, const ChannelRecord& channel);

// Entry of the transponder selector: "%d%s  %d  %s".
std::string transponderSelectorText(const TransponderRecord& transponder);
// Text of the transponder selector for the current transponder; unlike the
// entries, any non-zero polarisation shows as "V" here.
std::string currentTransponderText(const TransponderRecord& transponder);

// Edit-field texts of the three tab pages.
struct SatellitePageTexts {
    std::string position;  // edit 1062
    std::string name;      // edit 1056, selector caption, static 1020
};
struct TransponderPageTexts {
    std::string network_id;       // edit 1091
    std::string frequency_order;  // edit 1089
    std::string frequency;        // edit 1080
    std::string symbol_rate;      // edit 1051
    std::string polarisation;     // combo 1082
    std::string fec;              // combo 1052
    std::string selector;         // combo 1045
};
struct ChannelPageTexts {
    std::string name;                // edit 1026
    std::string transponder_number;  // edit 1058: transponder_index + 1
    std::string service_id;          // edit 1028
    std::string code_pid;            // edit 1000
    std::string video_pid;           // edit 1030
    std::string audio_pid;           // edit 1033
    std::string fourth_pid;          // edit 1035
};

SatellitePageTexts satellitePageTexts(const SatelliteRecord& satellite);
TransponderPageTexts transponderPageTexts(const TransponderRecord& transponder);
ChannelPageTexts channelPageTexts(const ChannelRecord& channel);

}  // namespace zoedit
