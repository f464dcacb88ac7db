// The columns of the TV and radio lists, in one table: their titles, their
// widths in the lists and the text each shows for a channel. The lists, the
// CSV export and the printed list all take their columns from here.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "database/channel_database.h"
#include "database/codepage.h"

namespace zoedit {

enum ChannelColumn { kColumnNumber = 0, kColumnName, kColumnTransponder, kColumnSatellite };

struct ChannelColumnSpec {
    ChannelColumn id;
    std::string_view title;
    int width;  // pixels, in the lists
};

inline constexpr std::array<ChannelColumnSpec, 4> kChannelColumns = {{
    {kColumnNumber, "Number", 80},
    {kColumnName, "Channel Name", 195},
    {kColumnTransponder, "Transponder", 160},
    {kColumnSatellite, "Satellite Name", 130},
}};
inline constexpr int kChannelColumnCount = static_cast<int>(kChannelColumns.size());

// The text of one column for `channel` shown under channel number `number`
// (the sorted list shows working-copy records under their own numbers).
// Names are bytes in the file; they come out as UTF-8 through `page`.
std::string channelColumnText(ChannelColumn column, const ChannelDatabase& db,
                              const ChannelRecord& channel, std::size_t number, CodePage page);

// Every column's text, in column order.
std::vector<std::string> channelRowTexts(const ChannelDatabase& db, const ChannelRecord& channel,
                                         std::size_t number, CodePage page);
// Row `row` of the TV or radio list: record `row` of the primary table. A row
// past the table's count gives empty texts.
std::vector<std::string> channelRowTexts(const ChannelDatabase& db, ChannelKind kind,
                                         std::size_t row, CodePage page);

}  // namespace zoedit
