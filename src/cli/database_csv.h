// One list of the database as CSV: a header row, then a row per record, in
// the texts the editor shows (quoted as database/csv_text.h says). The TV
// and radio lists carry each channel's service id and satellite position
// after the list's columns, so that the CSV can serve as the reference of
// apply-order; readers that know only the first columns are not disturbed.
#pragma once

#include <string>
#include <string_view>

#include "database/channel_database.h"
#include "database/codepage.h"

namespace zoedit::cli {

enum class ListKind { Tv, Radio, Satellites, Transponders, Favourites };

std::string listCsv(const ChannelDatabase& db, ListKind list, CodePage page);

}  // namespace zoedit::cli
