#include "database/channel_database.h"

#include <gtest/gtest.h>

namespace zoedit {
namespace {

ChannelDatabase withGroups(std::initializer_list<std::uint16_t> tv_counts) {
    ChannelDatabase db;
    db.tv.reset(50);
    std::size_t g = 0, total = 0;
    for (auto c : tv_counts) {
        db.favourites.groups[g++].tv_count = c;
        total += c;
    }
    db.general.favourite_group_count = static_cast<std::uint16_t>(g);
    db.favourites.tv_members.reset(total);
    for (std::size_t i = 0; i < total; ++i)
        db.favourites.tv_members.primary[i] = static_cast<std::uint16_t>(i + 10);
    return db;
}

TEST(FavouriteMembers, GroupStartsAfterAllEarlierGroupsEvenEmptyOnes) {
    const auto db = withGroups({2, 0, 3});
    EXPECT_EQ(db.groupMemberStart(2, ChannelKind::Tv), 2u);
    const auto members = db.groupMembers(2, ChannelKind::Tv);
    ASSERT_EQ(members.size(), 3u);
    EXPECT_EQ(members[0], 12);
    EXPECT_TRUE(db.groupMembers(1, ChannelKind::Tv).empty());
    EXPECT_EQ(db.favouritePosition(2, ChannelKind::Tv, 14), 3);
    EXPECT_EQ(db.favouritePosition(0, ChannelKind::Tv, 14), 0);
}

TEST(FavouriteMembers, CountsClaimingMoreThanTheListAreClamped) {
    auto db = withGroups({2, 3});
    db.favourites.groups[1].tv_count = 60000;
    EXPECT_EQ(db.groupMembers(1, ChannelKind::Tv).size(), 3u);
    EXPECT_TRUE(db.groupMembers(kFavouriteGroupCapacity, ChannelKind::Tv).empty());
}

TEST(BandDerivation, FrequencyRangesAndBoundaries) {
    ChannelDatabase db;
    db.satellites.reset(1);
    db.transponders.reset(1);
    auto& sat = db.satellites.primary[0];
    auto& tp = db.transponders.primary[0];
    const struct {
        std::uint16_t frequency;
        std::uint8_t before, after;
    } cases[] = {{2999, 7, 7}, {3000, 1, 0},  {6000, 1, 0},  {6001, 1, 1},
                 {9999, 0, 0}, {10000, 0, 1}, {17000, 0, 1}, {17001, 0, 0}};
    for (const auto& c : cases) {
        sat.band = c.before;
        tp.frequency = c.frequency;
        deriveBand(db, 0);
        EXPECT_EQ(sat.band, c.after) << c.frequency;
    }
}

TEST(BandDerivation, DanglingLinksAreIgnored) {
    ChannelDatabase db;
    db.transponders.reset(1);
    db.transponders.primary[0].frequency = 11000;
    db.transponders.primary[0].satellite_index = 3;  // no satellites at all
    deriveBand(db, 0);
    deriveBand(db, 5);
    EXPECT_EQ(db.satellites.primary[3].band, 0);
}

TEST(Names, StoredCutToTheFieldAndReadUpToNul) {
    std::array<char, kChannelNameSize> field{};
    setNameBytes(field, std::string(30, 'x'));
    EXPECT_EQ(nameBytes(field), std::string(23, 'x'));
    EXPECT_EQ(field.back(), '\0');
    setNameBytes(field, "\xC7\xE1 1");
    EXPECT_EQ(nameBytes(field), "\xC7\xE1 1");
}

}  // namespace
}  // namespace zoedit
