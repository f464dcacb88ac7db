// The rules of the data model that loading does not enforce, as a report.
#pragma once

#include <string>
#include <vector>

#include "database/channel_database.h"

namespace zoedit {

// One line per broken rule of the data model, naming the record, its index
// and what is wrong, e.g. "tv channel 12 (News 24): transponder_index 40 is
// not below the transponder count 38". Empty when everything holds.
std::vector<std::string> checkInvariants(const ChannelDatabase& db);

}  // namespace zoedit
