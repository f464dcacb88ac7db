// The list whose order the user wants back: another channel file (saved
// before a rescan) or the CSV of one list. Both come down to the same rows,
// in the reference's order, with what matching and applying need of them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "database/channel_database.h"

namespace zoedit::order {

// What tells a channel apart after a rescan: the frequency may come back a
// little off, the rest exactly.
struct ChannelIdentity {
    std::uint16_t position = 0;   // the satellite's, tenths of a degree east
    std::uint16_t frequency = 0;  // the transponder's, MHz
    std::uint8_t polarisation = 0;
    std::uint16_t service_id = 0;
};

struct ReferenceChannel {
    // None when the channel's transponder or satellite is not in its table,
    // or a CSV row leaves the columns empty.
    std::optional<ChannelIdentity> identity;
    std::string name;  // bytes in the file's code page
    std::uint8_t locked = 0;
};

struct ReferenceGroup {
    std::array<char, kGroupNameSize> name{};
    std::vector<std::size_t> tv;  // indexes into the reference's lists
    std::vector<std::size_t> radio;
};

struct OrderReference {
    // A list the reference does not hold (a CSV holds one) is absent.
    std::optional<std::vector<ReferenceChannel>> tv;
    std::optional<std::vector<ReferenceChannel>> radio;
    // Only a channel file has locks and favourite groups to give.
    bool has_locks = false;
    std::optional<std::vector<ReferenceGroup>> groups;

    const std::optional<std::vector<ReferenceChannel>>& list(ChannelKind kind) const {
        return kind == ChannelKind::Tv ? tv : radio;
    }
};

// The rows of one list of a database, as matching sees them.
std::vector<ReferenceChannel> referenceChannels(const ChannelDatabase& db, ChannelKind kind);

// A whole channel file as reference: both lists, the locks and the groups.
OrderReference referenceFromDatabase(const ChannelDatabase& db);

}  // namespace zoedit::order
