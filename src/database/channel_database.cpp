#include "database/channel_database.h"

#include <algorithm>
#include <cstring>

namespace zoedit {

const TransponderRecord* ChannelDatabase::transponderOf(const ChannelRecord& channel) const {
    return transponders.contains(channel.transponder_index)
               ? &transponders.primary[channel.transponder_index]
               : nullptr;
}

const SatelliteRecord* ChannelDatabase::satelliteOf(const TransponderRecord& transponder) const {
    return satellites.contains(transponder.satellite_index)
               ? &satellites.primary[transponder.satellite_index]
               : nullptr;
}

std::size_t ChannelDatabase::groupMemberStart(std::size_t g, ChannelKind kind) const {
    std::size_t start = 0;
    const std::size_t groups = std::min<std::size_t>(g, favourites.groups.size());
    for (std::size_t i = 0; i < groups; ++i) {
        start += kind == ChannelKind::Tv ? favourites.groups[i].tv_count
                                         : favourites.groups[i].radio_count;
    }
    return start;
}

std::span<const std::uint16_t> ChannelDatabase::groupMembers(std::size_t g,
                                                             ChannelKind kind) const {
    if (g >= favourites.groups.size()) return {};
    const auto& list = kind == ChannelKind::Tv ? favourites.tv_members : favourites.radio_members;
    const std::size_t start = std::min(groupMemberStart(g, kind), list.count);
    const std::size_t length =
        kind == ChannelKind::Tv ? favourites.groups[g].tv_count : favourites.groups[g].radio_count;
    return {list.primary.data() + start, std::min(length, list.count - start)};
}

int ChannelDatabase::favouritePosition(std::size_t g, ChannelKind kind, std::size_t index) const {
    const auto members = groupMembers(g, kind);
    const auto it = std::find(members.begin(), members.end(), index);
    return it == members.end() ? 0 : static_cast<int>(it - members.begin()) + 1;
}

void deriveBand(ChannelDatabase& db, std::size_t transponder_index) {
    if (!db.transponders.contains(transponder_index)) return;
    const TransponderRecord& tp = db.transponders.primary[transponder_index];
    if (!db.satellites.contains(tp.satellite_index)) return;
    SatelliteRecord& sat = db.satellites.primary[tp.satellite_index];
    if (tp.frequency >= 3000 && tp.frequency <= 6000) {
        sat.band = 0;
    } else if (tp.frequency > 9999 && tp.frequency <= 17000) {
        sat.band = 1;
    }
}

std::string nameBytes(std::span<const char> field) {
    const auto end = std::find(field.begin(), field.end(), '\0');
    return std::string(field.begin(), end);
}

void setNameBytes(std::span<char> field, std::string_view bytes) {
    if (field.empty()) return;
    std::fill(field.begin(), field.end(), '\0');
    const std::size_t n = std::min(bytes.size(), field.size() - 1);
    std::memcpy(field.data(), bytes.data(), n);
}

}  // namespace zoedit
