// One list of the database as CSV: a header row, then a row per record, in
// the texts the editor shows. Fields holding a comma, a quote, a line break
// or an outer blank are quoted, with quotes doubled. Lines end in "\n".
#pragma once

#include <string>
#include <string_view>

#include "database/channel_database.h"
#include "database/codepage.h"

namespace zoedit::cli {

enum class ListKind { Tv, Radio, Satellites, Transponders, Favourites };

std::string csvField(std::string_view text);
std::string listCsv(const ChannelDatabase& db, ListKind list, CodePage page);

}  // namespace zoedit::cli
