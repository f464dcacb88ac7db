#include "print/print_sources.h"

#include <memory>

#include "database/channel_columns.h"

namespace zoedit::print {

PrintSource listControlSource(const ui::ListControl& list, int screenCharWidth) {
    PrintSource source;
    const int count = list.columnCount();
    for (int c = 0; c < count; ++c) {
        ui::ListColumn column = list.column(c);
        source.columns.push_back({std::move(column.caption), column.width});
    }
    source.order = list.columnOrder();
    source.rowCount = list.rowCount();
    source.cellText = [&list](int row, int column) { return list.cellText(row, column); };
    source.screenCharWidth = screenCharWidth;
    return source;
}

PrintSource channelTableSource(const ChannelDatabase& db, ChannelKind kind, CodePage codePage) {
    PrintSource source;
    for (const ChannelColumnSpec& column : kChannelColumns)
        source.columns.push_back({std::string(column.title), column.width});
    const std::size_t count = db.channels(kind).count;
    auto rows = std::make_shared<std::vector<std::vector<std::string>>>();
    rows->reserve(count);
    for (std::size_t i = 0; i < count; ++i) rows->push_back(channelRowTexts(db, kind, i, codePage));
    source.rowCount = static_cast<int>(count);
    source.cellText = [rows](int row, int column) {
        return (*rows)[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    };
    source.screenCharWidth = kReferenceScreenCharWidth;
    return source;
}

}  // namespace zoedit::print
