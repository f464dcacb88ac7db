// Text forms of every field wherever the editor shows it, and the rules that
// read edit-field texts back into values.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "database/channel_database.h"

namespace zoedit {

// Satellite position: "%05.1fE" below 180.0 degrees, else 360-x in "%05.1fW".
std::string positionText(std::uint16_t position);
// Leading number as atof reads it; "W" after it means 3600 - 10*d; truncated.
std::uint16_t readPositionText(std::string_view text);

std::string hex4Text(std::uint16_t value);          // "%.4x"
std::uint16_t readHexText(std::string_view text);   // base 16, optional 0x, cut to 16 bits
std::uint16_t readDecimalText(std::string_view text);  // signed decimal, cut to 16 bits

std::string polarisationLetter(std::uint8_t polarisation);  // "H" for 0, "V" for 1
std::string polarisationName(std::uint8_t polarisation);    // "Vertical" if non-zero
std::string fecText(std::uint8_t fec);                       // "AUTO", "1/2".."7/8", "" beyond

std::string channelNumberText(std::size_t number);     // "%.4d"
std::string channelPageNumberText(std::size_t number);  // "%0.3d"
std::string favouritePositionText(int position);        // "%.3d", "000" = not a member

// The four column texts of row `row` of the TV or radio list.
std::array<std::string, 4> channelRowTexts(const ChannelDatabase& db, ChannelKind kind,
                                           std::size_t row);
std::string transponderColumnText(const ChannelDatabase& db, const ChannelRecord& channel);
std::string satelliteColumnText(const ChannelDatabase& db, const ChannelRecord& channel);

// Entry of the transponder selector: "%d%s  %d  %s".
std::string transponderSelectorText(const TransponderRecord& transponder);

}  // namespace zoedit
