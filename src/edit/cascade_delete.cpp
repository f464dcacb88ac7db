// Deleting records with everything that depends on them. Each table is
// compacted once and every reference into it renumbered by the count of
// removed rows below it, so that scattered removals (a satellite whose
// transponders and channels are not contiguous) keep every other reference
// on its own record.
#include "edit/edit_operations.h"
#include "edit/table_rows.h"

namespace zoedit::edit {

using namespace detail;

namespace {

// Removes the flagged channels of one kind and all their favourite entries.
void removeChannels(ChannelDatabase& db, TableCopy copy, ChannelKind kind,
                    const std::vector<bool>& removed) {
    const auto below = shiftsAfterRemoval(removed);
    auto& members = membersOf(db, kind);
    auto& list = rowsOf(members, copy);
    std::size_t read = 0;
    std::size_t write = 0;
    const auto keep = [&](std::uint16_t value) {
        if (value < removed.size()) {
            if (removed[value]) return false;
            value = static_cast<std::uint16_t>(value - below[value]);
        }
        list[write++] = value;
        return true;
    };
    for (std::size_t g = 0; g < groupCount(db); ++g) {
        std::uint16_t& count = memberCount(db, g, kind);
        const std::size_t n = std::min<std::size_t>(count, members.count - read);
        std::size_t dropped = 0;
        for (std::size_t k = 0; k < n; ++k)
            if (!keep(list[read++])) ++dropped;
        count = static_cast<std::uint16_t>(count - dropped);
    }
    while (read < members.count) keep(list[read++]);  // entries no group claims
    std::fill(list.begin() + static_cast<std::ptrdiff_t>(write),
              list.begin() + static_cast<std::ptrdiff_t>(members.count), std::uint16_t{0});
    members.count = write;
    compactRows(db.channels(kind), copy, removed);
}

// Removes the flagged transponders with their channels; renumbers the rest.
void removeTransponders(ChannelDatabase& db, TableCopy copy, const std::vector<bool>& removed) {
    for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio}) {
        auto& table = db.channels(kind);
        const auto& rows = rowsOf(table, copy);
        std::vector<bool> gone(table.count, false);
        for (std::size_t i = 0; i < table.count; ++i) {
            const std::size_t t = rows[i].transponder_index;
            gone[i] = t < removed.size() && removed[t];
        }
        removeChannels(db, copy, kind, gone);
    }
    const auto below = shiftsAfterRemoval(removed);
    for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio}) {
        auto& table = db.channels(kind);
        auto& rows = rowsOf(table, copy);
        for (std::size_t i = 0; i < table.count; ++i) {
            auto& t = rows[i].transponder_index;
            if (t < removed.size()) t = static_cast<std::uint16_t>(t - below[t]);
        }
    }
    compactRows(db.transponders, copy, removed);
}

void removeSatellite(ChannelDatabase& db, TableCopy copy, std::size_t satellite) {
    eraseRow(db.satellites, copy, satellite);
    auto& rows = rowsOf(db.transponders, copy);
    for (std::size_t i = 0; i < db.transponders.count; ++i)
        if (rows[i].satellite_index > satellite && rows[i].satellite_index <= db.satellites.count)
            --rows[i].satellite_index;
}

}  // namespace

EditResult deleteChannel(ChannelDatabase& db, TableCopy copy, ChannelKind kind, std::size_t row) {
    auto& table = db.channels(kind);
    if (!table.contains(row)) return noSuch(channelWord(kind), row, table.count);
    std::vector<bool> removed(table.count, false);
    removed[row] = true;
    removeChannels(db, copy, kind, removed);
    return EditResult::done();
}

EditResult deleteTransponder(ChannelDatabase& db, TableCopy copy, std::size_t transponder) {
    if (!db.transponders.contains(transponder))
        return noSuch("transponder", transponder, db.transponders.count);
    const std::size_t satellite = rowsOf(db.transponders, copy)[transponder].satellite_index;
    std::vector<bool> removed(db.transponders.count, false);
    removed[transponder] = true;
    removeTransponders(db, copy, removed);

    const auto& rows = rowsOf(db.transponders, copy);
    const bool orphaned =
        db.transponders.count > 0 &&
        std::none_of(rows.begin(),
                     rows.begin() + static_cast<std::ptrdiff_t>(db.transponders.count),
                     [&](const TransponderRecord& tp) { return tp.satellite_index == satellite; });
    if (orphaned && db.satellites.contains(satellite)) removeSatellite(db, copy, satellite);
    return EditResult::done();
}

EditResult deleteSatellite(ChannelDatabase& db, TableCopy copy, std::size_t satellite) {
    if (!db.satellites.contains(satellite))
        return noSuch("satellite", satellite, db.satellites.count);
    const auto& rows = rowsOf(db.transponders, copy);
    std::vector<bool> removed(db.transponders.count, false);
    for (std::size_t i = 0; i < db.transponders.count; ++i)
        removed[i] = rows[i].satellite_index == satellite;
    removeTransponders(db, copy, removed);
    removeSatellite(db, copy, satellite);
    return EditResult::done();
}

EditResult moveChannel(ChannelDatabase& db, TableCopy copy, ChannelKind kind, std::size_t from,
                       std::size_t to) {
    auto& table = db.channels(kind);
    if (!table.contains(from)) return noSuch(channelWord(kind), from, table.count);
    if (!table.contains(to)) return noSuch(channelWord(kind), to, table.count);
    auto& rows = rowsOf(table, copy);
    const auto at = [&](std::size_t i) { return rows.begin() + static_cast<std::ptrdiff_t>(i); };
    if (from < to)
        std::rotate(at(from), at(from + 1), at(to + 1));
    else
        std::rotate(at(to), at(from), at(from + 1));
    renumberMembers(db, copy, kind, [from, to](std::uint16_t v) -> std::uint16_t {
        if (v == from) return static_cast<std::uint16_t>(to);
        if (from < to && v > from && v <= to) return v - 1;
        if (to < from && v >= to && v < from) return v + 1;
        return v;
    });
    return EditResult::done();
}

EditResult reorderChannels(ChannelDatabase& db, TableCopy copy, ChannelKind kind,
                           const std::vector<std::size_t>& order) {
    auto& table = db.channels(kind);
    const std::size_t n = table.count;
    const auto notEveryChannelOnce = [] {
        return EditResult::refused(EditOutcome::InvalidValue,
                                   "The new order must name every channel of the list once.");
    };
    const std::vector<std::uint16_t> new_row = newRowsOf(order, n);
    if (new_row.size() != n) return notEveryChannelOnce();
    auto& rows = rowsOf(table, copy);
    std::vector<ChannelRecord> moved(n);
    for (std::size_t row = 0; row < n; ++row) moved[row] = rows[order[row]];
    std::copy(moved.begin(), moved.end(), rows.begin());
    renumberMembers(db, copy, kind, [&new_row, n](std::uint16_t v) -> std::uint16_t {
        return v < n ? new_row[v] : v;
    });
    return EditResult::done();
}

}  // namespace zoedit::edit
