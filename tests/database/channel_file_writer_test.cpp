#include <gtest/gtest.h>

#include <array>
#include <string_view>

#include "database/big_endian.h"
#include "database/channel_file.h"
#include "support/database_builder.h"

namespace zoedit {
namespace {

using testing::buildDatabase;
using testing::contentDifference;
using testing::DatabaseShape;
using testing::fileBytesOf;

std::span<const std::uint8_t> asBytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

ChannelDatabase reread(std::span<const std::uint8_t> bytes) {
    ChannelDatabase db;
    EXPECT_TRUE(readChannelFile(bytes, db).ok());
    return db;
}

// Offsets of the record areas of a file built from DatabaseShape.
struct Layout {
    std::size_t satellites, transponders, tv, radio, favourites;
    explicit Layout(const ChannelDatabase& db) {
        satellites = 105 + 6;
        transponders = satellites + 52 * db.satelliteCount() + 7;
        tv = transponders + 16 * db.transponderCount() + 7;
        radio = tv + 44 * db.tvCount() + 2;
        favourites = radio + 44 * db.radioCount() + 5;
    }
};

TEST(Checksums, KnownValues) {
    EXPECT_EQ(crc16Arc(asBytes("123456789")), 0xBB3D);
    EXPECT_EQ(crc16Arc({}), 0);
    // Every length, so that both the eight-byte steps and the tail are checked
    // against a plain bit-by-bit CRC.
    std::vector<std::uint8_t> data;
    for (std::size_t n = 0; n < 40; ++n) {
        unsigned reference = 0;
        for (std::uint8_t b : data) {
            reference ^= b;
            for (int bit = 0; bit < 8; ++bit)
                reference = (reference & 1) ? (reference >> 1) ^ 0xA001 : reference >> 1;
        }
        ASSERT_EQ(crc16Arc(data), reference) << "length " << n;
        data.push_back(static_cast<std::uint8_t>(n * 37 + 11));
    }
    // Long enough to wrap at 16 bits many times and to need several folds of
    // a wide sum, with a tail that is not a whole word.
    for (const std::size_t n : {0u, 7u, 300u, 1029u, 70001u}) {
        std::vector<std::uint8_t> bytes(n, 0xFF);
        EXPECT_EQ(byteSum16(bytes), (n * 255) % 65536) << n;
        unsigned plain = 0;
        for (std::size_t i = 0; i < n; ++i)
            plain += bytes[i] = static_cast<std::uint8_t>(i * 131 + 7);
        EXPECT_EQ(byteSum16(bytes), plain % 65536) << n;
    }
}

TEST(ChannelFileWrite, EmptyDatabaseIsThe134ByteFile) {
    ChannelDatabase db =
        buildDatabase({.satellites = 0, .transponders = 0, .tv = 0, .radio = 0, .groups = {}});
    const auto bytes = buildChannelFile(db, {}, -1);
    ASSERT_EQ(bytes.size(), 134u);
    EXPECT_EQ(be::get32(&bytes[12]), 70u);
    EXPECT_EQ(be::get32(&bytes[76]), 54u);
    EXPECT_EQ(db.header.data_length, 70u);
    EXPECT_EQ(db.format.tail_length, 54u);
    EXPECT_EQ(db.satellite_section.length, 1u);
    EXPECT_EQ(db.transponder_section.length, 2u);
    EXPECT_EQ(db.channel_section.length, 4u);
    EXPECT_EQ(db.favourites.section.length, 0u);
    EXPECT_EQ(be::get32(&bytes[106]), 1u);
    EXPECT_EQ(be::get32(&bytes[112]), 2u);
    EXPECT_EQ(be::get32(&bytes[119]), 4u);
    EXPECT_EQ(be::get32(&bytes[128]), 0u);
}

TEST(ChannelFileWrite, LengthsChecksumAndTrailerAgreeWithTheBytes) {
    ChannelDatabase db = buildDatabase({.satellites = 3,
                                        .transponders = 5,
                                        .tv = 7,
                                        .radio = 2,
                                        .groups = {{2, 1}, {0, 0}, {4, 2}}});
    db.header.secondary_length = 777;
    db.trailer = 0x4242;
    const auto bytes = buildChannelFile(db, {}, -1);
    const std::size_t t = bytes.size();
    EXPECT_EQ(t, 134u + 3 * 52 + 5 * 16 + 9 * 44 + 3 * 28 + 9 * 7);
    EXPECT_EQ(be::get32(&bytes[12]), t - 64);
    EXPECT_EQ(be::get32(&bytes[76]), t - 80);
    EXPECT_EQ(be::get32(&bytes[28]), 0u);         // secondary_length written as 0...
    EXPECT_EQ(db.header.secondary_length, 777u);  // ...and held unchanged
    const auto after_header = std::span(bytes).subspan(64);
    EXPECT_EQ(be::get16(&bytes[6]), byteSum16(after_header));
    EXPECT_EQ(db.header.checksum, byteSum16(after_header));
    EXPECT_EQ(be::get16(&bytes[t - 2]), crc16Arc(after_header.first(t - 66)));
    EXPECT_EQ(db.trailer, 0x4242);  // the held trailer word stays as loaded
    EXPECT_EQ(db.favourites.section.length, 3u * 28 + 9 * 7);
}

// Saving a just-loaded file without edits gives the input back, except the
// words that saving recomputes and the bytes it always writes as zero.
TEST(ChannelFileWrite, ResaveOfLoadedFileReproducesItExceptRecomputedBytes) {
    const DatabaseShape shape{
        .satellites = 2, .transponders = 3, .tv = 4, .radio = 2, .groups = {{2, 1}, {1, 1}}};
    const auto clean = fileBytesOf(buildDatabase(shape));
    const Layout at(buildDatabase(shape));
    auto dirty = clean;
    be::put32(&dirty[28], 0x01020304);
    be::put16(&dirty[6], 0xEEEE);
    be::put32(&dirty[12], 1);
    be::put32(&dirty[76], 2);
    for (const std::size_t section :
         std::array<std::size_t, 4>{106, at.transponders - 6, at.tv - 6, at.favourites - 4})
        be::put32(&dirty[section], 0xCAFE);
    for (std::size_t i = 0; i < 2; ++i) dirty[at.satellites + 52 * i + 47] = 0x5A;
    dirty[at.transponders + 16 + 11] = 0x5A;
    dirty[at.tv + 44 + 39] = 0x5A;
    dirty[at.radio + 43] = 0x5A;
    dirty[at.favourites + 24 + 2 + 2] = 0x5A;  // reserved bytes of the first member entry
    be::put16(&dirty[dirty.size() - 2], 0xBEEF);

    ChannelDatabase db;
    ASSERT_TRUE(readChannelFile(dirty, db).ok());
    EXPECT_EQ(buildChannelFile(db, {}, -1), clean);
    EXPECT_EQ(db.trailer, 0xBEEF);
    EXPECT_EQ(db.header.secondary_length, 0x01020304u);
}

TEST(ChannelFileWrite, BandOfTheCurrentTransponderReachesTheFile) {
    const struct {
        std::uint16_t frequency;
        std::uint8_t before, after;
    } cases[] = {{11000, 0, 1}, {17000, 0, 1}, {3500, 1, 0}, {8000, 1, 1}, {17001, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.frequency);
        ChannelDatabase db = buildDatabase();
        auto& tp = db.transponders.primary[4];
        tp.frequency = c.frequency;
        db.satellites.primary[tp.satellite_index].band = c.before;
        const auto bytes = buildChannelFile(db, {}, 4);
        const ChannelDatabase loaded = reread(bytes);
        EXPECT_EQ(loaded.satellites.primary[tp.satellite_index].band, c.after);
        EXPECT_EQ(db.satellites.primary[tp.satellite_index].band, c.after);
    }
    // No current transponder, or one outside the table: nothing is derived.
    ChannelDatabase db = buildDatabase();
    const ChannelDatabase before = db;
    for (int current : {-1, 1000, 6}) buildChannelFile(db, {}, current);
    EXPECT_EQ(contentDifference(before, db), "");
}

TEST(ChannelFileWrite, WorkingCopyReachesTheFileOnlyInNewRecordMode) {
    ChannelDatabase db = buildDatabase();
    setNameBytes(db.satellites.working[1].name, "Edited sat");
    db.transponders.working[2].frequency = 12345;
    setNameBytes(db.tv.working[3].name, "Edited TV");
    // Each edit differs from what the builder gave the record.
    ASSERT_EQ(db.radio.primary[0].locked, 1);
    db.radio.working[0].locked = 0;
    ASSERT_NE(db.radio.primary[0].audio_pid, 0x1ABC);
    db.radio.working[0].audio_pid = 0x1ABC;
    db.favourites.tv_members.working[0] = 7;
    db.favourites.radio_members.working[2] = 3;

    ChannelDatabase plain = db;
    const ChannelDatabase unchanged = reread(buildChannelFile(plain, {}, -1));
    EXPECT_EQ(nameBytes(unchanged.tv.primary[3].name), nameBytes(db.tv.primary[3].name));
    EXPECT_EQ(unchanged.radio.primary[0].locked, 1);

    const ChannelDatabase folded = reread(buildChannelFile(db, {.new_record_mode = true}, -1));
    EXPECT_EQ(nameBytes(folded.satellites.primary[1].name), "Edited sat");
    EXPECT_EQ(folded.transponders.primary[2].frequency, 12345);
    EXPECT_EQ(nameBytes(folded.tv.primary[3].name), "Edited TV");
    EXPECT_EQ(folded.radio.primary[0].locked, 0);
    EXPECT_EQ(folded.radio.primary[0].audio_pid, 0x1ABC);
    EXPECT_EQ(folded.favourites.tv_members.primary[0], 7);
    EXPECT_EQ(folded.favourites.radio_members.primary[2], 3);
    // The folding stays in memory, as written.
    EXPECT_EQ(nameBytes(db.tv.primary[3].name), "Edited TV");
}

TEST(ChannelFileWrite, SortedListSavesEachRowUnderItsChannelNumber) {
    ChannelDatabase db = buildDatabase({.tv = 5, .radio = 3});
    const ChannelDatabase original = db;
    // The TV list shows channels 3, 1, 5, 2, 4 (by name, say); row 2 is edited.
    const std::vector<int> shown = {3, 1, 5, 2, 4};
    for (std::size_t row = 0; row < shown.size(); ++row)
        db.tv.working[row] = original.tv.primary[static_cast<std::size_t>(shown[row]) - 1];
    setNameBytes(db.tv.working[2].name, "Renamed five");

    const ChannelDatabase saved = reread(buildChannelFile(db, {.tv_sorted_numbers = shown}, -1));
    for (std::size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        if (i == 4)
            EXPECT_EQ(nameBytes(saved.tv.primary[i].name), "Renamed five");
        else
            EXPECT_EQ(nameBytes(saved.tv.primary[i].name), nameBytes(original.tv.primary[i].name));
    }

    // Numbers outside the table are skipped rather than written past it.
    ChannelDatabase odd = buildDatabase({.tv = 3});
    const auto bytes = buildChannelFile(odd, {.radio_sorted_numbers = {0, -4, 99, 4}}, -1);
    EXPECT_TRUE(reread(bytes).radioCount() == 4);
}

TEST(ChannelFileWrite, CountsCorruptedInMemoryNeverReadPastTheTables) {
    ChannelDatabase db = buildDatabase();
    db.general.favourite_group_count = 500;
    db.favourites.groups[0].tv_count = 60000;
    db.satellites.count = 300;
    const auto bytes = buildChannelFile(db, {}, -1);
    EXPECT_EQ(db.general.favourite_group_count, kFavouriteGroupCapacity);
    ChannelDatabase loaded;
    // The member list is too long for the reader, so the file is refused,
    // but it was built without touching memory outside the tables.
    EXPECT_FALSE(readChannelFile(bytes, loaded).ok());
    EXPECT_EQ(bytes[111 - 1], 255);  // satellite count byte
}

}  // namespace
}  // namespace zoedit
