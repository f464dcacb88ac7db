// The database as JSON: every field under its own name, names as UTF-8.
#pragma once

#include <nlohmann/json.hpp>

#include "database/channel_database.h"
#include "database/codepage.h"

namespace zoedit::cli {

nlohmann::ordered_json headerJson(const ChannelDatabase& db,
                                  CodePage page);  // header + format words
nlohmann::ordered_json satellitesJson(const ChannelDatabase& db, CodePage page);
nlohmann::ordered_json transpondersJson(const ChannelDatabase& db);
nlohmann::ordered_json channelsJson(const ChannelDatabase& db, ChannelKind kind, CodePage page);
nlohmann::ordered_json favouritesJson(const ChannelDatabase& db, CodePage page);

// Everything: "header", "general", the five lists and "trailer".
nlohmann::ordered_json databaseJson(const ChannelDatabase& db, CodePage page);

}  // namespace zoedit::cli
