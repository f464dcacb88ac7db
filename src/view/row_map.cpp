#include "view/row_map.h"

#include <algorithm>

namespace zoedit {

int RowMap::rowCount() const {
    return static_cast<int>(tableCount());
}

std::optional<ChannelIndex> RowMap::channelAt(Row row) const {
    const std::size_t count = tableCount();
    if (!row.valid() || static_cast<std::size_t>(row.value) >= count) return std::nullopt;
    const auto r = static_cast<std::size_t>(row.value);
    return ChannelIndex(isSorted() ? m_sorted[r] : r);
}

std::optional<Row> RowMap::rowOf(ChannelIndex channel) const {
    if (channel.value >= tableCount()) return std::nullopt;
    if (!isSorted()) return Row(static_cast<int>(channel.value));
    const auto found = std::find(m_sorted.begin(), m_sorted.end(), channel.value);
    if (found == m_sorted.end()) return std::nullopt;
    return Row(static_cast<int>(found - m_sorted.begin()));
}

std::vector<std::size_t> RowMap::order() const {
    if (isSorted()) return m_sorted;
    std::vector<std::size_t> order(tableCount());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    return order;
}

void RowMap::setSortedOrder(std::vector<std::size_t> order) {
    m_sorted.clear();
    const std::size_t count = tableCount();
    if (order.size() != count) return;
    std::vector<bool> seen(count, false);
    for (std::size_t channel : order) {
        if (channel >= count || seen[channel]) return;
        seen[channel] = true;
    }
    m_sorted = std::move(order);
}

bool RowMap::follow() {
    if (!isSorted() || m_sorted.size() == tableCount()) return false;
    m_sorted.clear();
    return true;
}

}  // namespace zoedit
