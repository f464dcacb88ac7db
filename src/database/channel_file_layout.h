// Sizes of the records of the channel file, shared by its reader and writer.
#pragma once

#include <cstddef>

#include "database/channel_database.h"

namespace zoedit::layout {

inline constexpr std::size_t kSatelliteRecordSize = 52;
inline constexpr std::size_t kTransponderRecordSize = 16;
inline constexpr std::size_t kChannelRecordSize = 44;
inline constexpr std::size_t kMemberEntrySize = 7;
inline constexpr std::size_t kReservedSize = 5;
inline constexpr std::size_t kGroupFixedSize = kGroupNameSize + 4;  // name and two counts

}  // namespace zoedit::layout
