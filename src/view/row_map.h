// A list row is not a channel. Each channel list shows its channels in the
// file's order or in a column-sort order; its row map is the one place that
// says which channel a row shows. Every command that starts from a row asks
// the map, and rows and channel indexes are distinct types, so one cannot be
// passed where the other belongs.
#pragma once

#include <compare>
#include <cstddef>
#include <optional>
#include <vector>

#include "database/channel_database.h"

namespace zoedit {

// A row of a channel list as the list control counts them; -1 for none.
struct Row {
    int value = -1;
    constexpr Row() = default;
    constexpr explicit Row(int v) : value(v) {}
    constexpr bool valid() const { return value >= 0; }
    friend constexpr auto operator<=>(Row, Row) = default;
};

// A channel's index in the table of its kind.
struct ChannelIndex {
    std::size_t value = 0;
    constexpr ChannelIndex() = default;
    constexpr explicit ChannelIndex(std::size_t v) : value(v) {}
    friend constexpr auto operator<=>(ChannelIndex, ChannelIndex) = default;
};

// A channel of either list.
struct ChannelRef {
    ChannelKind kind = ChannelKind::Tv;
    ChannelIndex index;
    bool operator==(const ChannelRef&) const = default;
};

// The last column a list was sorted by (-1 none) and its direction.
struct SortKey {
    int column = -1;
    bool ascending = false;
    bool operator==(const SortKey&) const = default;
};

class RowMap {
public:
    RowMap(const ChannelDatabase& db, ChannelKind kind) : m_db(&db), m_kind(kind) {}

    ChannelKind kind() const { return m_kind; }
    // One row per channel of the table, whatever the order.
    int rowCount() const;
    std::optional<ChannelIndex> channelAt(Row row) const;
    std::optional<Row> rowOf(ChannelIndex channel) const;
    // The channel index each row shows, row by row.
    std::vector<std::size_t> order() const;

    bool isSorted() const { return !m_sorted.empty(); }
    // Shows the rows in `order` (channel indexes, each once); anything else
    // than an order of the whole table leaves the file's order.
    void setSortedOrder(std::vector<std::size_t> order);
    void showFileOrder() { m_sorted.clear(); }
    // After the records changed: a sorted order that no longer covers the
    // table (a channel more or fewer) gives way to the file's order, since
    // it cannot tell which channel went where. True when it did.
    bool follow();

    const SortKey& sortKey() const { return m_key; }
    void setSortKey(SortKey key) { m_key = key; }

private:
    std::size_t tableCount() const { return m_db->channels(m_kind).count; }

    const ChannelDatabase* m_db;
    ChannelKind m_kind;
    std::vector<std::size_t> m_sorted;  // empty: the file's order
    SortKey m_key;
};

}  // namespace zoedit
