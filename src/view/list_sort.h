// The column sort of a channel list: a stable order of the rows by the text
// one column shows, the Number column by its number. The sort is only an
// order of the rows on show; the tables keep theirs.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "database/channel_columns.h"

namespace zoedit {

// `rows` holds the channel index shown in each row. Returns the same indexes
// ordered by `column`: texts compare byte by byte, equal texts keep their
// order, and descending puts higher texts first (equal ones still in their
// order). `text` gives the column's text for a channel index; the Number
// column needs none, since a channel's number is its index plus one.
std::vector<std::size_t> sortedRows(const std::vector<std::size_t>& rows, ChannelColumn column,
                                    bool ascending,
                                    const std::function<std::string(std::size_t)>& text);

}  // namespace zoedit
