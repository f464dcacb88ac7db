#include "view/list_sort.h"

#include <algorithm>
#include <numeric>

namespace zoedit {

std::vector<std::size_t> sortedRows(const std::vector<std::size_t>& rows, ChannelColumn column,
                                    bool ascending,
                                    const std::function<std::string(std::size_t)>& text) {
    std::vector<std::size_t> sorted = rows;
    if (column == kColumnNumber) {
        // "10000" must follow "9999": the number, not its digits.
        if (ascending)
            std::stable_sort(sorted.begin(), sorted.end());
        else
            std::stable_sort(sorted.begin(), sorted.end(), std::greater<>());
        return sorted;
    }
    std::vector<std::string> keys;
    keys.reserve(rows.size());
    for (std::size_t channel : rows) keys.push_back(text(channel));
    std::vector<std::size_t> positions(rows.size());
    std::iota(positions.begin(), positions.end(), std::size_t{0});
    // std::string compares as unsigned bytes, as the list's multibyte texts do.
    if (ascending)
        std::stable_sort(positions.begin(), positions.end(),
                         [&keys](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    else
        std::stable_sort(positions.begin(), positions.end(),
                         [&keys](std::size_t a, std::size_t b) { return keys[b] < keys[a]; });
    for (std::size_t i = 0; i < positions.size(); ++i) sorted[i] = rows[positions[i]];
    return sorted;
}

}  // namespace zoedit
