#include "order/order_reference.h"

namespace zoedit::order {

std::vector<ReferenceChannel> referenceChannels(const ChannelDatabase& db, ChannelKind kind) {
    const auto& table = db.channels(kind);
    std::vector<ReferenceChannel> rows;
    rows.reserve(table.count);
    for (const ChannelRecord& channel : table.records()) {
        ReferenceChannel& row = rows.emplace_back();
        row.name = nameBytes(channel.name);
        row.locked = channel.locked;
        const TransponderRecord* tp = db.transponderOf(channel);
        const SatelliteRecord* sat = tp ? db.satelliteOf(*tp) : nullptr;
        if (sat)
            row.identity =
                ChannelIdentity{sat->position, tp->frequency, tp->polarisation, channel.service_id};
    }
    return rows;
}

OrderReference referenceFromDatabase(const ChannelDatabase& db) {
    OrderReference ref;
    ref.tv = referenceChannels(db, ChannelKind::Tv);
    ref.radio = referenceChannels(db, ChannelKind::Radio);
    ref.has_locks = true;
    auto& groups = ref.groups.emplace();
    const std::size_t count = std::min(db.favouriteGroupCount(), kFavouriteGroupCapacity);
    for (std::size_t g = 0; g < count; ++g) {
        ReferenceGroup& group = groups.emplace_back();
        group.name = db.favourites.groups[g].name;
        for (auto member : db.groupMembers(g, ChannelKind::Tv)) group.tv.push_back(member);
        for (auto member : db.groupMembers(g, ChannelKind::Radio)) group.radio.push_back(member);
    }
    return ref;
}

}  // namespace zoedit::order
