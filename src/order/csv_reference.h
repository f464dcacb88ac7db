// One channel list in CSV as reference: the CSV that the export of the TV or
// radio list writes. Rows are taken in their order; "Channel Name" is the
// one column a reference must have. "Transponder", "Service ID" and
// "Satellite Position" give a row its identity when all three are filled;
// other columns (the number, the satellite's name) are not read.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "database/channel_database.h"
#include "database/codepage.h"
#include "order/order_reference.h"

namespace zoedit::order {

// The columns the export writes after the list's own, and their texts for a
// channel: the service id as the channel page shows it, the satellite's
// position as the satellite page does (empty when the channel has no
// satellite or its position is out of range).
inline constexpr std::string_view kServiceIdTitle = "Service ID";
inline constexpr std::string_view kPositionTitle = "Satellite Position";
std::array<std::string, 2> identityColumnTexts(const ChannelDatabase& db,
                                               const ChannelRecord& channel);

struct CsvReference {
    std::optional<OrderReference> reference;  // none when the CSV is refused
    std::size_t line = 0;                     // of the first bad line
    std::string reason;

    // "line 7: the service id "xyz" is not ..." for a refusal.
    std::string message() const;
};

// Reads the CSV as list `kind` of a reference; names are converted from
// UTF-8 into code page `page`. A bad line refuses the whole CSV.
CsvReference readCsvReference(std::string_view text, ChannelKind kind, CodePage page);

}  // namespace zoedit::order
