// Another list's order applied as one step: every part of the plan is
// checked before anything changes, so a refused plan leaves the tables as
// they were without relying on the history to take half a step back.
#include "edit/edit_operations.h"
#include "edit/table_rows.h"

namespace zoedit::edit {

using namespace detail;

namespace {

EditResult refusedPlan(const std::string& why) {
    return EditResult::refused(EditOutcome::InvalidValue, why);
}

EditResult checkList(const ChannelDatabase& db, const ListOrderPlan& list) {
    const std::size_t n = db.channels(list.kind).count;
    if (newRowsOf(list.order, n).size() != n)
        return refusedPlan("The new order must name every channel of the list once.");
    for (const auto& [channel, locked] : list.locks)
        if (channel >= n) return noSuch(channelWord(list.kind), channel, n);
    for (const auto& [channel, name] : list.names)
        if (channel >= n) return noSuch(channelWord(list.kind), channel, n);
    return EditResult::done();
}

EditResult checkGroups(const ChannelDatabase& db, const std::vector<GroupPlan>& groups) {
    if (groups.size() > kFavouriteGroupCapacity)
        return EditResult::refused(
            EditOutcome::AtCapacity,
            format("There can be at most %zu favourite groups.", kFavouriteGroupCapacity));
    for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio}) {
        const std::size_t n = db.channels(kind).count;
        std::size_t total = 0;
        for (const GroupPlan& group : groups) {
            const auto& members = kind == ChannelKind::Tv ? group.tv : group.radio;
            for (std::size_t channel : members)
                if (channel >= n) return noSuch(channelWord(kind), channel, n);
            total += members.size();
        }
        if (total > kFavouriteMemberCapacity)
            return full(kind == ChannelKind::Tv ? "TV favourite" : "radio favourite",
                        kFavouriteMemberCapacity);
    }
    return EditResult::done();
}

// The groups of the plan in place of the file's; `new_row` maps each kind's
// channels from before the step to their rows now.
void replaceGroups(ChannelDatabase& db, TableCopy copy, const std::vector<GroupPlan>& groups,
                   const std::vector<std::uint16_t> (&new_row)[2]) {
    for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio}) {
        const auto& rows_now = new_row[kind == ChannelKind::Tv ? 0 : 1];
        auto& members = membersOf(db, kind);
        auto& rows = rowsOf(members, copy);
        std::size_t at = 0;
        for (const GroupPlan& group : groups)
            for (std::size_t channel : kind == ChannelKind::Tv ? group.tv : group.radio)
                rows[at++] =
                    rows_now.empty() ? static_cast<std::uint16_t>(channel) : rows_now[channel];
        std::fill(rows.begin() + static_cast<std::ptrdiff_t>(at),
                  rows.begin() + static_cast<std::ptrdiff_t>(std::max(at, members.count)),
                  std::uint16_t{0});
        members.count = at;
    }
    auto& records = db.favourites.groups;
    std::fill(records.begin(), records.end(), FavouriteGroup{});
    for (std::size_t g = 0; g < groups.size(); ++g) {
        records[g].name = groups[g].name;
        records[g].name.back() = '\0';
        records[g].tv_count = static_cast<std::uint16_t>(groups[g].tv.size());
        records[g].radio_count = static_cast<std::uint16_t>(groups[g].radio.size());
    }
    db.general.favourite_group_count = static_cast<std::uint16_t>(groups.size());
}

}  // namespace

EditResult applyOrder(ChannelDatabase& db, TableCopy copy, const ChannelOrderPlan& plan) {
    bool named[2] = {false, false};
    for (const ListOrderPlan& list : plan.lists) {
        bool& seen = named[list.kind == ChannelKind::Tv ? 0 : 1];
        if (seen) return refusedPlan("A list can take only one order at a time.");
        seen = true;
        if (auto check = checkList(db, list); !check.ok()) return check;
    }
    if (plan.groups)
        if (auto check = checkGroups(db, *plan.groups); !check.ok()) return check;

    std::vector<std::uint16_t> new_row[2];
    for (const ListOrderPlan& list : plan.lists) {
        auto& rows = rowsOf(db.channels(list.kind), copy);
        for (const auto& [channel, locked] : list.locks) rows[channel].locked = locked;
        for (const auto& [channel, name] : list.names) {
            rows[channel].name = name;
            rows[channel].name.back() = '\0';
        }
        new_row[list.kind == ChannelKind::Tv ? 0 : 1] =
            newRowsOf(list.order, db.channels(list.kind).count);
        reorderChannels(db, copy, list.kind, list.order);
    }
    if (plan.groups) replaceGroups(db, copy, *plan.groups, new_row);
    return EditResult::done();
}

}  // namespace zoedit::edit
