#include "database/channel_columns.h"

#include "database/field_format.h"

namespace zoedit {

std::string channelColumnText(ChannelColumn column, const ChannelDatabase& db,
                              const ChannelRecord& channel, std::size_t number, CodePage page) {
    switch (column) {
        case kColumnNumber:
            return channelNumberText(number);
        case kColumnName:
            return toUtf8(nameBytes(channel.name), page);
        case kColumnTransponder:
            return transponderColumnText(db, channel);
        case kColumnSatellite:
            return toUtf8(satelliteColumnText(db, channel), page);
    }
    return {};
}

std::vector<std::string> channelRowTexts(const ChannelDatabase& db, const ChannelRecord& channel,
                                         std::size_t number, CodePage page) {
    std::vector<std::string> texts;
    texts.reserve(kChannelColumns.size());
    for (const ChannelColumnSpec& column : kChannelColumns)
        texts.push_back(channelColumnText(column.id, db, channel, number, page));
    return texts;
}

std::vector<std::string> channelRowTexts(const ChannelDatabase& db, ChannelKind kind,
                                         std::size_t row, CodePage page) {
    const auto& table = db.channels(kind);
    if (!table.contains(row)) return std::vector<std::string>(kChannelColumns.size());
    return channelRowTexts(db, table.primary[row], row + 1, page);
}

}  // namespace zoedit
