// Contracts of the edit operations at the edges where index arithmetic goes
// wrong. The builder gives every channel a unique service_id and every
// transponder a unique frequency_order, which serve as identities here.
#include "edit/edit_operations.h"

#include <gtest/gtest.h>

#include "database/invariants.h"
#include "support/database_builder.h"

namespace zoedit::edit {
namespace {

using testing::buildDatabase;
using testing::DatabaseShape;

std::vector<int> members(const ChannelDatabase& db, std::size_t g, ChannelKind kind) {
    const auto span = db.groupMembers(g, kind);
    return {span.begin(), span.end()};
}

void setGroup(ChannelDatabase& db, std::size_t g, std::vector<std::uint16_t> tv) {
    // Rebuilds the TV member list with group g replaced, the others kept.
    std::vector<std::vector<std::uint16_t>> groups;
    for (std::size_t k = 0; k < db.favouriteGroupCount(); ++k) {
        const auto m = db.groupMembers(k, ChannelKind::Tv);
        groups.emplace_back(k == g ? tv : std::vector<std::uint16_t>(m.begin(), m.end()));
    }
    db.favourites.tv_members.count = 0;
    for (std::size_t k = 0; k < groups.size(); ++k) {
        for (auto v : groups[k])
            db.favourites.tv_members.primary[db.favourites.tv_members.count++] = v;
        db.favourites.groups[k].tv_count = static_cast<std::uint16_t>(groups[k].size());
    }
}

// Channel identity (service_id) of every favourite entry and of every
// channel's transponder (frequency_order) and satellite (name).
struct Identities {
    std::vector<std::vector<int>> groups;
    std::vector<std::pair<int, int>> channel_transponder;
    std::vector<std::pair<int, std::string>> transponder_satellite;
};

Identities identities(const ChannelDatabase& db) {
    Identities ids;
    for (std::size_t g = 0; g < db.favouriteGroupCount(); ++g) {
        std::vector<int> ids_of_group;
        for (auto m : db.groupMembers(g, ChannelKind::Tv))
            ids_of_group.push_back(db.tv.primary[m].service_id);
        ids.groups.push_back(ids_of_group);
    }
    for (std::size_t i = 0; i < db.tv.count; ++i)
        ids.channel_transponder.emplace_back(db.tv.primary[i].service_id,
                                             db.transponderOf(db.tv.primary[i])->frequency_order);
    for (std::size_t i = 0; i < db.transponders.count; ++i)
        ids.transponder_satellite.emplace_back(
            db.transponders.primary[i].frequency_order,
            nameBytes(db.satelliteOf(db.transponders.primary[i])->name));
    return ids;
}

TEST(DeleteChannel, RenumbersEntriesAndTakesEveryEntryOfTheChannelInEveryGroup) {
    DatabaseShape shape;
    shape.tv = 10;
    shape.groups.assign(12, {0, 0});
    ChannelDatabase db = buildDatabase(shape);
    setGroup(db, 0, {2, 4, 7});
    setGroup(db, 11, {4, 9, 4});  // beyond the ten the check boxes show, and twice
    ASSERT_TRUE(deleteChannel(db, TableCopy::Primary, ChannelKind::Tv, 4).ok());
    EXPECT_EQ(members(db, 0, ChannelKind::Tv), (std::vector<int>{2, 6}));
    EXPECT_EQ(members(db, 11, ChannelKind::Tv), (std::vector<int>{8}));
    EXPECT_EQ(db.tv.count, 9u);
    EXPECT_EQ(db.tv.primary[4].service_id, 0x105);
    EXPECT_EQ(db.tv.primary[9], ChannelRecord{});
    EXPECT_EQ(checkInvariants(db), std::vector<std::string>{});
}

TEST(DeleteSatellite, KeepsEveryOtherReferenceWhenItsRecordsAreScattered) {
    // Transponder i is on satellite i % 3 and channel i on transponder i % 6:
    // satellite 1 owns transponders 1 and 4 and the channels 1, 4, 7, 10, ...
    DatabaseShape shape;
    shape.tv = 30;
    shape.groups = {{12, 0}, {9, 0}};
    ChannelDatabase db = buildDatabase(shape);
    Identities before = identities(db);
    ASSERT_TRUE(deleteSatellite(db, TableCopy::Primary, 1).ok());
    EXPECT_EQ(db.satellites.count, 2u);
    EXPECT_EQ(db.transponders.count, 4u);
    EXPECT_EQ(db.tv.count, 20u);
    EXPECT_EQ(checkInvariants(db), std::vector<std::string>{});
    // What remains is what was there, minus the satellite's records, in order.
    Identities after = identities(db);
    const auto gone = [](int service_id) { return (service_id - 0x100) % 6 % 3 == 1; };
    std::erase_if(before.channel_transponder, [&](auto& p) { return gone(p.first); });
    EXPECT_EQ(after.channel_transponder, before.channel_transponder);
    for (auto& g : before.groups) std::erase_if(g, gone);
    EXPECT_EQ(after.groups, before.groups);
    std::erase_if(before.transponder_satellite, [](auto& p) { return p.first % 3 == 1; });
    EXPECT_EQ(after.transponder_satellite, before.transponder_satellite);
}

TEST(DeleteTransponder, TakesItsSatelliteOnlyWhenThatHasNoTransponderLeftBesidesTheLastOfAll) {
    DatabaseShape shape;  // 3 satellites, 6 transponders (i on i % 3)
    ChannelDatabase db = buildDatabase(shape);
    ASSERT_TRUE(deleteTransponder(db, TableCopy::Primary, 1).ok());  // satellite 1 keeps 4
    EXPECT_EQ(db.satellites.count, 3u);
    ASSERT_TRUE(deleteTransponder(db, TableCopy::Primary, 3).ok());  // was 4: satellite 1's last
    EXPECT_EQ(db.satellites.count, 2u);
    EXPECT_EQ(nameBytes(db.satelliteOf(db.transponders.primary[1])->name), "Nilestar 7W");
    EXPECT_EQ(db.transponders.primary[3].satellite_index, 1);  // was 5 on satellite 2
    EXPECT_EQ(checkInvariants(db), std::vector<std::string>{});

    shape.satellites = 1;
    shape.transponders = 1;
    ChannelDatabase single = buildDatabase(shape);
    ASSERT_TRUE(deleteTransponder(single, TableCopy::Primary, 0).ok());
    EXPECT_EQ(single.transponders.count, 0u);
    EXPECT_EQ(single.satellites.count, 1u);  // the last transponder of all keeps its satellite
    EXPECT_EQ(single.tv.count, 0u);
    EXPECT_EQ(single.favourites.tv_members.count, 0u);
    EXPECT_EQ(checkInvariants(single), std::vector<std::string>{});
}

TEST(MoveChannel, LandsOnTheTargetRowAndKeepsEveryEntryOnItsChannel) {
    for (auto [from, to] : {std::pair{2, 5}, {5, 2}, {0, 9}, {9, 0}, {3, 3}}) {
        DatabaseShape shape;
        shape.tv = 10;
        ChannelDatabase db = buildDatabase(shape);
        setGroup(db, 1, {1, 2, 3, 5, 6, 9});  // entries before, on, between and after
        const Identities before = identities(db);
        ASSERT_TRUE(moveChannel(db, TableCopy::Primary, ChannelKind::Tv, from, to).ok());
        EXPECT_EQ(db.tv.primary[to].service_id, 0x100 + from) << from << "->" << to;
        EXPECT_EQ(identities(db).groups, before.groups) << from << "->" << to;
        EXPECT_EQ(checkInvariants(db), std::vector<std::string>{});
    }
}

TEST(Favourites, PlacesMovesAndRefusals) {
    DatabaseShape shape;
    shape.tv = 10;
    ChannelDatabase db = buildDatabase(shape);
    setGroup(db, 1, {1, 2, 3, 4, 5});
    ASSERT_TRUE(moveFavourite(db, TableCopy::Primary, 1, ChannelKind::Tv, 2, 4).ok());
    EXPECT_EQ(members(db, 1, ChannelKind::Tv), (std::vector<int>{1, 3, 4, 2, 5}));
    ASSERT_TRUE(moveFavourite(db, TableCopy::Primary, 1, ChannelKind::Tv, 4, 2).ok());
    EXPECT_EQ(members(db, 1, ChannelKind::Tv), (std::vector<int>{1, 2, 3, 4, 5}));

    const auto group0 = members(db, 0, ChannelKind::Tv);
    const auto group2 = members(db, 2, ChannelKind::Tv);
    ASSERT_TRUE(addFavourite(db, TableCopy::Primary, 1, ChannelKind::Tv, 8, 1).ok());
    ASSERT_TRUE(addFavourite(db, TableCopy::Primary, 1, ChannelKind::Tv, 9).ok());
    EXPECT_EQ(members(db, 1, ChannelKind::Tv), (std::vector<int>{8, 1, 2, 3, 4, 5, 9}));
    EXPECT_EQ(addFavourite(db, TableCopy::Primary, 1, ChannelKind::Tv, 3).outcome,
              EditOutcome::AlreadyInGroup);
    EXPECT_EQ(addFavourite(db, TableCopy::Primary, 1, ChannelKind::Tv, 0, 9).outcome,
              EditOutcome::NoSuchRecord);
    ASSERT_TRUE(removeFavourite(db, TableCopy::Primary, 1, ChannelKind::Tv, 3).ok());
    EXPECT_EQ(removeFavourite(db, TableCopy::Primary, 1, ChannelKind::Tv, 3).outcome,
              EditOutcome::NotInGroup);
    EXPECT_EQ(addFavourite(db, TableCopy::Primary, 3, ChannelKind::Tv, 0).outcome,
              EditOutcome::NoSuchRecord);  // the file has three groups
    EXPECT_EQ(members(db, 0, ChannelKind::Tv), group0);
    EXPECT_EQ(members(db, 2, ChannelKind::Tv), group2);

    const auto radio1 = members(db, 1, ChannelKind::Radio);
    ASSERT_TRUE(clearFavouriteGroup(db, TableCopy::Primary, 1, ChannelKind::Tv).ok());
    EXPECT_TRUE(members(db, 1, ChannelKind::Tv).empty());
    EXPECT_EQ(members(db, 1, ChannelKind::Radio), radio1);
    EXPECT_EQ(members(db, 2, ChannelKind::Tv), group2);
    EXPECT_EQ(checkInvariants(db), std::vector<std::string>{});
}

TEST(Insert, RefusedAtCapacityWithTheLimitAndNothingChanged) {
    ChannelDatabase db = buildDatabase(testing::fullCapacityShape());
    const ChannelDatabase before = db;
    const EditResult channel =
        insertChannel(db, TableCopy::Primary, ChannelKind::Tv, 0, db.tv.primary[0]);
    EXPECT_EQ(channel.outcome, EditOutcome::AtCapacity);
    EXPECT_NE(channel.message.find("10000"), std::string::npos) << channel.message;
    const EditResult satellite =
        insertSatellite(db, TableCopy::Primary, ChannelKind::Radio, {}, {}, {});
    EXPECT_EQ(satellite.outcome, EditOutcome::AtCapacity);
    EXPECT_NE(satellite.message.find("255"), std::string::npos) << satellite.message;
    const EditResult favourite = addFavourite(db, TableCopy::Primary, 0, ChannelKind::Tv, 9999, 1);
    EXPECT_EQ(favourite.outcome, EditOutcome::AtCapacity);
    EXPECT_EQ(testing::contentDifference(db, before), "");
}

TEST(Insert, NewTransponderTakesTheCurrentOnesChannelsAndEntriesFollowTheirChannels) {
    DatabaseShape shape;
    shape.tv = 12;
    ChannelDatabase db = buildDatabase(shape);
    setGroup(db, 0, {2, 3, 4});
    // Channel 3 is on transponder 3; insert before transponder 3 and a copy of channel 3.
    ASSERT_TRUE(insertTransponder(db, TableCopy::Primary, 3, ChannelKind::Tv, 3).ok());
    EXPECT_EQ(db.transponders.count, 7u);
    EXPECT_EQ(db.transponders.primary[4].frequency_order, 3);  // the old one, one place up
    EXPECT_EQ(db.tv.primary[10].transponder_index, 3);         // was channel 9: stays on slot 3
    EXPECT_EQ(db.tv.primary[5].transponder_index, 5);          // was channel 4 on transponder 4
    EXPECT_EQ(db.tv.primary[3].service_id, db.tv.primary[4].service_id);  // the copy
    // The old channel 3 is now at 4 and keeps its entry; the new copy has none.
    EXPECT_EQ(members(db, 0, ChannelKind::Tv), (std::vector<int>{2, 4, 5}));
    EXPECT_EQ(checkInvariants(db), std::vector<std::string>{});
}

TEST(WorkingCopy, OperationsLeaveThePrimaryRecordsAlone) {
    ChannelDatabase db = buildDatabase();
    const ChannelDatabase before = db;
    ASSERT_TRUE(moveChannel(db, TableCopy::Working, ChannelKind::Tv, 0, 5).ok());
    ASSERT_TRUE(setChannelLock(db, TableCopy::Working, ChannelKind::Tv, 2, true).ok());
    EXPECT_EQ(testing::contentDifference(db, before), "");
    EXPECT_EQ(db.tv.working[5], before.tv.primary[0]);
}

}  // namespace
}  // namespace zoedit::edit
