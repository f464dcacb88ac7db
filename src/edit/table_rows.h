// Row-level helpers the edit operations share: which vector a copy means,
// opening and closing a gap in a table, the favourite member lists, and the
// refusals every operation gives in the same words.
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "database/channel_database.h"
#include "edit/edit_result.h"

namespace zoedit::edit::detail {

template <typename Record>
std::vector<Record>& rowsOf(DualTable<Record>& table, TableCopy copy) {
    return copy == TableCopy::Primary ? table.primary : table.working;
}

// Opens a gap at `at` (0..count) and stores `record` there; the count grows.
template <typename Record>
void insertRow(DualTable<Record>& table, TableCopy copy, std::size_t at, const Record& record) {
    auto& rows = rowsOf(table, copy);
    const auto first = rows.begin() + static_cast<std::ptrdiff_t>(at);
    std::move_backward(first, rows.begin() + static_cast<std::ptrdiff_t>(table.count),
                       rows.begin() + static_cast<std::ptrdiff_t>(table.count + 1));
    *first = record;
    ++table.count;
}

// Closes the row at `at`; the freed last slot is zeroed, the count drops.
template <typename Record>
void eraseRow(DualTable<Record>& table, TableCopy copy, std::size_t at) {
    auto& rows = rowsOf(table, copy);
    std::move(rows.begin() + static_cast<std::ptrdiff_t>(at + 1),
              rows.begin() + static_cast<std::ptrdiff_t>(table.count),
              rows.begin() + static_cast<std::ptrdiff_t>(at));
    rows[--table.count] = Record{};
}

// Closes `n` rows from `at` at once.
template <typename Record>
void eraseRows(DualTable<Record>& table, TableCopy copy, std::size_t at, std::size_t n) {
    auto& rows = rowsOf(table, copy);
    const auto end = rows.begin() + static_cast<std::ptrdiff_t>(table.count);
    const auto last = std::move(rows.begin() + static_cast<std::ptrdiff_t>(at + n), end,
                                rows.begin() + static_cast<std::ptrdiff_t>(at));
    std::fill(last, end, Record{});
    table.count -= n;
}

// Keeps the rows whose `removed` flag is clear, in order; zeroes the rest.
template <typename Record>
void compactRows(DualTable<Record>& table, TableCopy copy, const std::vector<bool>& removed) {
    auto& rows = rowsOf(table, copy);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < table.count; ++i)
        if (!removed[i]) rows[kept++] = rows[i];
    std::fill(rows.begin() + static_cast<std::ptrdiff_t>(kept),
              rows.begin() + static_cast<std::ptrdiff_t>(table.count), Record{});
    table.count = kept;
}

// new_index[i] for a table compacted by `removed`: i less the removed rows below it.
inline std::vector<std::size_t> shiftsAfterRemoval(const std::vector<bool>& removed) {
    std::vector<std::size_t> below(removed.size() + 1, 0);
    for (std::size_t i = 0; i < removed.size(); ++i) below[i + 1] = below[i] + (removed[i] ? 1 : 0);
    return below;
}

// Where each row goes when row i of a list of `n` becomes the row that stood
// at order[i]: new_row[old]. Empty when `order` does not name every row
// below `n` exactly once.
inline std::vector<std::uint16_t> newRowsOf(const std::vector<std::size_t>& order, std::size_t n) {
    if (order.size() != n) return {};
    std::vector<std::uint16_t> new_row(n, 0);
    std::vector<bool> seen(n, false);
    for (std::size_t row = 0; row < n; ++row) {
        const std::size_t old = order[row];
        if (old >= n || seen[old]) return {};
        seen[old] = true;
        new_row[old] = static_cast<std::uint16_t>(row);
    }
    return new_row;
}

inline DualTable<std::uint16_t>& membersOf(ChannelDatabase& db, ChannelKind kind) {
    return kind == ChannelKind::Tv ? db.favourites.tv_members : db.favourites.radio_members;
}
inline std::uint16_t& memberCount(ChannelDatabase& db, std::size_t group, ChannelKind kind) {
    auto& g = db.favourites.groups[group];
    return kind == ChannelKind::Tv ? g.tv_count : g.radio_count;
}
// Applies `renumber` to every favourite entry of one kind (all groups).
template <typename F>
void renumberMembers(ChannelDatabase& db, TableCopy copy, ChannelKind kind, F renumber) {
    auto& members = membersOf(db, kind);
    auto& rows = rowsOf(members, copy);
    for (std::size_t i = 0; i < members.count; ++i) rows[i] = renumber(rows[i]);
}

// The groups the file holds, bounded by the name table.
inline std::size_t groupCount(const ChannelDatabase& db) {
    return std::min(db.favouriteGroupCount(), kFavouriteGroupCapacity);
}

inline const char* channelWord(ChannelKind kind) {
    return kind == ChannelKind::Tv ? "TV channel" : "radio channel";
}

template <typename... Args>
std::string format(const char* fmt, Args... args) {
    char buffer[256];
    const int n = std::snprintf(buffer, sizeof buffer, fmt, args...);
    return n < 0 ? std::string() : std::string(buffer, std::min<std::size_t>(n, sizeof buffer - 1));
}

// "There is no TV channel 12 (the TV list holds 10)." Numbers as the user sees them.
inline EditResult noSuch(const char* what, std::size_t index, std::size_t count) {
    return EditResult::refused(
        EditOutcome::NoSuchRecord,
        format("There is no %s %zu: there are %zu.", what, index + 1, count));
}
inline EditResult full(const char* table, std::size_t capacity) {
    return EditResult::refused(
        EditOutcome::AtCapacity,
        format("The %s table is full: it holds at most %zu.", table, capacity));
}

// Refusals of values the data model does not allow (done() when they fit).
EditResult checkSatelliteValues(const SatelliteRecord& values);
EditResult checkTransponderValues(const TransponderRecord& values);

}  // namespace zoedit::edit::detail
