// Loading reuses the tables of the database it loads into, so whatever the
// previous file (or the editor) left in them must not survive a load, and a
// refused file must not leave half of itself behind.
#include <gtest/gtest.h>

#include <string>

#include "channel_file_test_util.h"
#include "database/channel_file.h"
#include "support/database_builder.h"

namespace zoedit {
namespace {

using testing::buildDatabase;
using testing::DatabaseShape;
using testing::fileBytesOf;

template <typename Record>
void expectSameTable(const char* what, const DualTable<Record>& a, const DualTable<Record>& b) {
    EXPECT_EQ(a.count, b.count) << what;
    EXPECT_TRUE(a.primary == b.primary) << what << ": primary copies differ";
    EXPECT_TRUE(a.working == b.working) << what << ": working copies differ";
}

// Compares all the storage, up to every table's capacity and in both copies,
// not only the records below the counts.
void expectSameStorage(const ChannelDatabase& a, const ChannelDatabase& b) {
    EXPECT_TRUE(a.header == b.header);
    EXPECT_TRUE(a.format == b.format);
    EXPECT_TRUE(a.general == b.general);
    EXPECT_TRUE(a.satellite_section == b.satellite_section);
    EXPECT_TRUE(a.transponder_section == b.transponder_section);
    EXPECT_TRUE(a.channel_section == b.channel_section);
    EXPECT_TRUE(a.favourites.section == b.favourites.section);
    expectSameTable("satellites", a.satellites, b.satellites);
    expectSameTable("transponders", a.transponders, b.transponders);
    expectSameTable("tv", a.tv, b.tv);
    expectSameTable("radio", a.radio, b.radio);
    expectSameTable("tv members", a.favourites.tv_members, b.favourites.tv_members);
    expectSameTable("radio members", a.favourites.radio_members, b.favourites.radio_members);
    EXPECT_TRUE(a.favourites.groups == b.favourites.groups);
    EXPECT_EQ(a.trailer, b.trailer);
}

ChannelDatabase fullDatabase() {
    return buildDatabase(testing::fullCapacityShape());
}

// What the editor may have done to a loaded database before the next Open:
// working copies diverged (sorted or new-record mode), records past the
// counts written.
void scribble(ChannelDatabase& db) {
    db.tv.working[0].name.fill('W');
    db.radio.working[kChannelCapacity - 1].video_pid = 0x1FFF;
    db.satellites.primary[kSatelliteCapacity - 1].position = 1234;
    db.transponders.working[kTransponderCapacity - 1].fec = 5;
    db.favourites.tv_members.working[17] = 4242;
    db.favourites.groups[kFavouriteGroupCapacity - 1].name.fill('G');
}

TEST(ChannelFileReload, ASmallFileAfterABigOneLeavesNothingOfTheBigOne) {
    DatabaseShape small_shape;
    small_shape.seed = 7;
    small_shape.satellites = 2;
    small_shape.transponders = 3;
    small_shape.tv = 5;
    small_shape.radio = 0;
    small_shape.groups = {{2, 0}, {0, 0}};
    const auto small = fileBytesOf(buildDatabase(small_shape));

    ChannelDatabase fresh;
    ASSERT_TRUE(readChannelFile(small, fresh).ok());

    ChannelDatabase reused;
    ASSERT_TRUE(readChannelFile(fileBytesOf(fullDatabase()), reused).ok());
    scribble(reused);
    ASSERT_TRUE(readChannelFile(small, reused).ok());
    expectSameStorage(fresh, reused);

    // And the empty file, the smallest there is, clears everything.
    const auto empty = testing::rawChannelFile({});
    ASSERT_EQ(empty.size(), kEmptyFileSize);
    ChannelDatabase fresh_empty;
    ASSERT_TRUE(readChannelFile(empty, fresh_empty).ok());
    ASSERT_TRUE(readChannelFile(empty, reused).ok());
    expectSameStorage(fresh_empty, reused);
}

TEST(ChannelFileReload, ABigFileAfterASmallOneMatchesAFreshLoad) {
    const auto big = fileBytesOf(fullDatabase());
    ChannelDatabase fresh;
    ASSERT_TRUE(readChannelFile(big, fresh).ok());

    ChannelDatabase reused = buildDatabase();
    scribble(reused);
    ASSERT_TRUE(readChannelFile(big, reused).ok());
    expectSameStorage(fresh, reused);
    EXPECT_EQ(fileBytesOf(reused), big);
}

// Refusals found late in the file (in the last group, in the trailer) are
// the ones that would leave a partly overwritten database behind if the
// storing began before the checking ended.
TEST(ChannelFileReload, ARefusedFileAfterALoadedOneChangesNothing) {
    const auto full = fileBytesOf(fullDatabase());
    ChannelDatabase loaded;
    ASSERT_TRUE(readChannelFile(full, loaded).ok());
    scribble(loaded);
    const ChannelDatabase before = loaded;

    DatabaseShape other;
    other.seed = 3;
    other.groups = {{1, 1}, {2, 2}};
    const auto good = fileBytesOf(buildDatabase(other));
    auto wrong_format = good;
    be::put32(&wrong_format[64], kFormatId ^ 1);
    auto bad_magic = good;
    bad_magic[0] = 0;
    auto too_many_members = testing::rawChannelFile({.groups = {{9000, 0}, {1001, 0}}});

    const struct {
        const char* what;
        std::span<const std::uint8_t> bytes;
    } cases[] = {
        {"wrong format id", wrong_format},
        {"bad magic", bad_magic},
        {"no trailer", std::span(good).first(good.size() - 1)},
        {"last member cut", std::span(good).first(good.size() - 4)},
        {"members beyond the list", too_many_members},
        {"full file without its trailer", std::span(full).first(full.size() - 2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(readChannelFile(c.bytes, loaded).ok());
        expectSameStorage(before, loaded);
    }
}

TEST(DualTablePrepare, ClearsFromTheCountOnInBothCopies) {
    DualTable<std::uint16_t> table(8);
    for (std::size_t i = 0; i < 8; ++i) {
        table.primary[i] = static_cast<std::uint16_t>(i + 1);
        table.working[i] = static_cast<std::uint16_t>(i + 100);
    }
    table.prepare(3);
    EXPECT_EQ(table.count, 3u);
    EXPECT_EQ(table.primary, (std::vector<std::uint16_t>{1, 2, 3, 0, 0, 0, 0, 0}));
    EXPECT_EQ(table.working, (std::vector<std::uint16_t>{100, 101, 102, 0, 0, 0, 0, 0}));

    // A count past capacity is clamped; storage cut short is restored to capacity.
    table.working.resize(2);
    table.prepare(50);
    EXPECT_EQ(table.count, 8u);
    EXPECT_EQ(table.working.size(), 8u);
    EXPECT_EQ(table.working[7], 0);
}

}  // namespace
}  // namespace zoedit
