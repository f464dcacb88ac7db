// The column table of the channel lists: one row's texts, names through the
// code page, and links that lead outside the tables.
#include "database/channel_columns.h"

#include <gtest/gtest.h>

namespace zoedit {
namespace {

TEST(ChannelColumns, RowTextsFollowTheColumnTable) {
    ChannelDatabase db;
    db.satellites.reset(1);
    setNameBytes(db.satellites.primary[0].name, "\xc7\xe1 Sat");  // Arabic letters in 1256
    db.transponders.reset(1);
    db.transponders.primary[0] = {0x1, 0x3fd, 11778, 27500, 1, 0, 0};
    db.tv.reset(kChannelCapacity);
    setNameBytes(db.tv.primary[0].name, "News \xe9");
    db.tv.primary[1].transponder_index = 7;  // past the count

    const auto row = channelRowTexts(db, ChannelKind::Tv, 0, CodePage::Windows1252);
    ASSERT_EQ(row.size(), kChannelColumns.size());
    EXPECT_EQ(row[kColumnNumber], "0001");
    EXPECT_EQ(row[kColumnName], "News \xc3\xa9");
    EXPECT_EQ(row[kColumnTransponder], "11778 V 27500 AUTO");
    EXPECT_EQ(channelRowTexts(db, ChannelKind::Tv, 0, CodePage::Windows1256)[kColumnSatellite],
              "\xd8\xa7\xd9\x84 Sat");
    EXPECT_EQ(channelRowTexts(db, ChannelKind::Tv, 9999, CodePage::Latin1)[kColumnNumber], "10000");

    const auto lost = channelRowTexts(db, ChannelKind::Tv, 1, CodePage::Latin1);
    EXPECT_EQ(lost[kColumnTransponder], "");
    EXPECT_EQ(lost[kColumnSatellite], "");
    // A row past the count: as many texts as columns, all empty.
    EXPECT_EQ(channelRowTexts(db, ChannelKind::Radio, 0, CodePage::Latin1),
              std::vector<std::string>(kChannelColumns.size()));
    // Each column's id is its place in the table.
    for (int c = 0; c < kChannelColumnCount; ++c)
        EXPECT_EQ(kChannelColumns[static_cast<std::size_t>(c)].id, c);
}

}  // namespace
}  // namespace zoedit
