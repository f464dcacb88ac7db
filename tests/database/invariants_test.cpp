#include "database/invariants.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zoedit {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// Two satellites, three transponders, four TV and two radio channels, two
// favourite groups: every link valid.
ChannelDatabase consistent() {
    ChannelDatabase db;
    db.satellites.reset(2);
    db.satellites.primary[1].position = 3599;
    db.transponders.reset(3);
    db.transponders.primary[2] = {0, 0, 11778, 27500, 1, 5, 1};
    db.tv.reset(4);
    db.tv.primary[3].transponder_index = 2;
    db.radio.reset(2);
    db.general.favourite_group_count = 2;
    db.favourites.groups[0].tv_count = 2;
    db.favourites.groups[1].tv_count = 1;
    db.favourites.groups[1].radio_count = 2;
    db.favourites.tv_members.reset(3);
    db.favourites.tv_members.primary[2] = 3;
    db.favourites.radio_members.reset(2);
    db.favourites.radio_members.primary[1] = 1;
    return db;
}

TEST(Invariants, ConsistentAndEmptyDatabasesHaveNoProblems) {
    EXPECT_TRUE(checkInvariants(consistent()).empty());
    EXPECT_TRUE(checkInvariants(ChannelDatabase{}).empty());
}

TEST(Invariants, EachBrokenLinkIsOneLineNamingRecordAndIndex) {
    auto db = consistent();
    db.transponders.primary[1].satellite_index = 2;
    db.tv.primary[2].transponder_index = 3;
    setNameBytes(db.tv.primary[2].name, "Sport Plus 2");
    db.radio.primary[0].transponder_index = 700;
    db.favourites.tv_members.primary[2] = 4;     // group 1, first TV member
    db.favourites.radio_members.primary[1] = 2;  // group 1, second radio member
    EXPECT_THAT(checkInvariants(db),
                ElementsAre(HasSubstr("transponder 1 (0 MHz): satellite_index 2"),
                            HasSubstr("tv channel 2 (Sport Plus 2): transponder_index 3"),
                            HasSubstr("radio channel 0 (): transponder_index 700"),
                            HasSubstr("favourite group 1 (): tv member 0 is channel index 4"),
                            HasSubstr("favourite group 1 (): radio member 1 is channel index 2")));
}

TEST(Invariants, FieldValuesOutsideTheirRanges) {
    auto db = consistent();
    db.satellites.primary[0].position = 3600;
    db.transponders.primary[0].polarisation = 2;
    db.transponders.primary[0].fec = 6;
    const auto problems = checkInvariants(db);
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_THAT(problems[0], HasSubstr("satellite 0 (): position 3600 is above 3599"));
    EXPECT_THAT(problems[1], HasSubstr("polarisation 2"));
    EXPECT_THAT(problems[2], HasSubstr("fec 6"));
}

TEST(Invariants, MemberCountsMustAddUpToTheFlatLists) {
    auto db = consistent();
    db.favourites.groups[0].tv_count = 1;  // two members left over
    db.favourites.groups[1].radio_count = 5;
    EXPECT_THAT(
        checkInvariants(db),
        ElementsAre(HasSubstr("tv member counts add up to 2, but the tv member list holds 3"),
                    HasSubstr("radio member counts add up to 5, but the radio member list "
                              "holds 2")));
}

TEST(Invariants, CountsBeyondTheFileFormatAreReported) {
    auto db = consistent();
    db.satellites.reset(256);
    db.general.favourite_group_count = 126;
    const auto problems = checkInvariants(db);
    EXPECT_THAT(problems, ::testing::Contains(HasSubstr("satellites: count 256 is above 255")));
    EXPECT_THAT(problems,
                ::testing::Contains(HasSubstr("favourite groups: count 126 is above 125")));
}

}  // namespace
}  // namespace zoedit
