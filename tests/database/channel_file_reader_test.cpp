#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>

#include "channel_file_test_util.h"
#include "database/channel_file.h"
#include "support/database_builder.h"

namespace zoedit {
namespace {

using testing::buildDatabase;
using testing::contentDifference;
using testing::DatabaseShape;
using testing::fileBytesOf;
using testing::rawChannelFile;
using testing::RawCounts;

// A database that a refused file must leave exactly as it is.
ChannelDatabase previouslyLoaded() {
    DatabaseShape shape;
    shape.seed = 99;
    shape.tv = 5;
    return buildDatabase(shape);
}

void expectRefusedUntouched(std::span<const std::uint8_t> bytes, LoadStatus status) {
    const ChannelDatabase before = previouslyLoaded();
    ChannelDatabase db = before;
    const LoadResult result = readChannelFile(bytes, db);
    EXPECT_EQ(result.status, status);
    EXPECT_EQ(contentDifference(before, db), "");
}

TEST(ChannelFileRead, RoundTripFillsBothCopiesWithEveryRecord) {
    DatabaseShape shape;
    shape.satellites = 4;
    shape.transponders = 9;
    shape.tv = 17;
    shape.radio = 6;
    shape.groups = {{5, 2}, {0, 0}, {3, 4}, {0, 1}};
    const ChannelDatabase original = buildDatabase(shape);
    const auto bytes = fileBytesOf(original);

    ChannelDatabase db = previouslyLoaded();
    const LoadResult result = readChannelFile(bytes, db);
    ASSERT_TRUE(result.ok());
    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(contentDifference(original, db), "");
    EXPECT_EQ(testing::workingCopyDifference(db), "");
    // Groups beyond the file's count are cleared, not left from the previous file.
    EXPECT_EQ(db.favourites.groups[4].name[0], '\0');
    EXPECT_EQ(db.groupMembers(2, ChannelKind::Radio).size(), 4u);
    EXPECT_EQ(fileBytesOf(db), bytes);
}

TEST(ChannelFileRead, HeaderFieldsAndModelIdBuffer) {
    ChannelDatabase source = buildDatabase();
    auto bytes = fileBytesOf(source);
    be::put32(&bytes[28], 0xDEADBEEF);  // secondary_length: read, never written
    for (std::size_t i = 32; i < 64; ++i) bytes[i] = 'M';

    ChannelDatabase db;
    ASSERT_TRUE(readChannelFile(bytes, db).ok());
    EXPECT_EQ(db.header.secondary_length, 0xDEADBEEFu);
    EXPECT_EQ(std::string(db.header.model_id.data()), std::string(32, 'M'));
    EXPECT_EQ(db.header.model_id[32], '\0');

    const auto header = readFileHeader(bytes);
    ASSERT_TRUE(header.has_value());
    EXPECT_EQ(header->hw_version, source.header.hw_version);
    EXPECT_EQ(header->data_length, bytes.size() - 64);
    EXPECT_FALSE(readFileHeader(std::span(bytes).first(63)).has_value());
}

TEST(ChannelFileRead, BadMagicGivesBothMessagesAndChangesNothing) {
    auto bytes = fileBytesOf(buildDatabase());
    bytes[3] = 0xAB;
    ChannelDatabase db = previouslyLoaded();
    const LoadResult result = readChannelFile(bytes, db);
    EXPECT_EQ(result.status, LoadStatus::BadMagic);
    EXPECT_EQ(result.messages,
              (std::vector<std::string>{"Invalid Data Format!!!",
                                        "Invalid Data Format, Check the Source File"}));
    EXPECT_EQ(contentDifference(previouslyLoaded(), db), "");

    // Even when bytes 4..7 happen to hold the format id, the file is refused.
    be::put32(&bytes[4], kFormatId);
    expectRefusedUntouched(bytes, LoadStatus::BadMagic);
    // Too short to hold a magic at all.
    expectRefusedUntouched(std::span(bytes).first(3), LoadStatus::BadMagic);
    expectRefusedUntouched({}, LoadStatus::BadMagic);
}

TEST(ChannelFileRead, WrongFormatIdIsRefusedWithOneMessage) {
    auto bytes = fileBytesOf(buildDatabase());
    be::put32(&bytes[64], kFormatId + 1);
    ChannelDatabase db = previouslyLoaded();
    const LoadResult result = readChannelFile(bytes, db);
    EXPECT_EQ(result.status, LoadStatus::BadFormat);
    EXPECT_EQ(result.messages,
              std::vector<std::string>{"Invalid Data Format, Check the Source File"});
    EXPECT_EQ(contentDifference(previouslyLoaded(), db), "");
}

// Every prefix of a file, cut at section boundaries and inside records and
// member entries alike, is refused without touching the loaded database.
TEST(ChannelFileRead, EveryTruncationIsRefused) {
    DatabaseShape shape;
    shape.satellites = 2;
    shape.transponders = 2;
    shape.tv = 2;
    shape.radio = 1;
    shape.groups = {{2, 1}, {0, 1}};
    const auto bytes = fileBytesOf(buildDatabase(shape));
    const ChannelDatabase before = previouslyLoaded();
    ChannelDatabase db = before;
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        const LoadResult result = readChannelFile(std::span(bytes).first(n), db);
        ASSERT_FALSE(result.ok()) << "prefix of " << n << " bytes loaded";
        ASSERT_FALSE(result.messages.empty());
        EXPECT_EQ(result.messages.back(), kMsgCheckSourceFile);
    }
    EXPECT_EQ(contentDifference(before, db), "");
    EXPECT_TRUE(readChannelFile(bytes, db).ok());
}

TEST(ChannelFileRead, BytesAfterTheTrailerAreIgnored) {
    const ChannelDatabase source = buildDatabase();
    auto bytes = fileBytesOf(source);
    bytes.resize(bytes.size() + 1000, 0xFF);  // padded like a received file
    ChannelDatabase db;
    ASSERT_TRUE(readChannelFile(bytes, db).ok());
    EXPECT_EQ(contentDifference(source, db), "");
}

TEST(ChannelFileRead, CountsUpToTheCapacitiesLoadAndOneMoreIsRefused) {
    const struct {
        const char* what;
        RawCounts at_capacity;
        RawCounts beyond;
    } cases[] = {
        {"transponders", {.transponders = 1000}, {.transponders = 1001}},
        {"tv", {.tv = 10000}, {.tv = 10001}},
        {"radio", {.radio = 10000}, {.radio = 10000 + 1}},
        {"tv members", {.groups = {{5000, 0}, {5000, 0}}}, {.groups = {{5000, 0}, {5001, 0}}}},
        {"radio members", {.groups = {{0, 9999}, {0, 1}}}, {.groups = {{0, 9999}, {0, 2}}}},
        {"groups",
         {.groups = std::vector<std::pair<std::uint16_t, std::uint16_t>>(125)},
         {.groups = std::vector<std::pair<std::uint16_t, std::uint16_t>>(126)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ChannelDatabase db;
        EXPECT_TRUE(readChannelFile(rawChannelFile(c.at_capacity), db).ok());
        expectRefusedUntouched(rawChannelFile(c.beyond), LoadStatus::BadFormat);
    }
    ChannelDatabase db;
    ASSERT_TRUE(readChannelFile(rawChannelFile({.satellites = 255}), db).ok());
    EXPECT_EQ(db.satelliteCount(), 255u);
}

TEST(ChannelFileRead, CountsLargerThanTheRestOfTheFileAreRefused) {
    // A count that would fit its table but not the bytes that follow.
    auto bytes = rawChannelFile({.tv = 3});
    const std::size_t tv_count_at = 80 + 25 + 6 + 7 + 5;
    ASSERT_EQ(be::get16(&bytes[tv_count_at]), 3);
    be::put16(&bytes[tv_count_at], 9000);
    expectRefusedUntouched(bytes, LoadStatus::BadFormat);
}

TEST(ChannelFileRead, WrongChecksumTrailerAndLengthsStillLoad) {
    const ChannelDatabase source = buildDatabase();
    auto bytes = fileBytesOf(source);
    be::put16(&bytes[6], static_cast<std::uint16_t>(be::get16(&bytes[6]) + 1));
    be::put32(&bytes[12], 7);
    be::put32(&bytes[76], 9);
    be::put32(&bytes[106], 12345);  // satellite section length
    be::put16(&bytes[bytes.size() - 2], 0x1234);
    ChannelDatabase db;
    ASSERT_TRUE(readChannelFile(bytes, db).ok());
    EXPECT_EQ(db.trailer, 0x1234);
    EXPECT_EQ(db.header.checksum, static_cast<std::uint16_t>(source.header.checksum + 1));
    EXPECT_EQ(db.header.data_length, 7u);
    EXPECT_EQ(db.satellite_section.length, 12345u);
    EXPECT_EQ(db.tvCount(), source.tvCount());
}

TEST(ChannelFileRead, IndexesAndFlagsAreTakenAsTheyStand) {
    // No satellites, yet transponders naming satellite 0; odd flag bytes.
    DatabaseShape shape;
    shape.satellites = 0;
    shape.transponders = 3;
    ChannelDatabase source = buildDatabase(shape);
    source.tv.primary[1].scrambled = 2;
    source.tv.primary[1].locked = 0xFF;
    source.tv.primary[2].transponder_index = 999;
    ChannelDatabase db;
    ASSERT_TRUE(readChannelFile(fileBytesOf(source), db).ok());
    EXPECT_EQ(db.satelliteCount(), 0u);
    EXPECT_EQ(db.transponders.primary[0].satellite_index, 0);
    EXPECT_EQ(db.satelliteOf(db.transponders.primary[0]), nullptr);
    EXPECT_EQ(db.tv.primary[1].scrambled, 2);
    EXPECT_EQ(db.tv.working[1].locked, 0xFF);
    EXPECT_EQ(db.tv.primary[2].transponder_index, 999);
}

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

TEST(ChannelFileLoad, FromDiskAndUnreadablePaths) {
    char pattern[] = "/tmp/zoedit-load-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::filesystem::path dir = pattern;
    const std::string path = (dir / "channels.bin").string();

    // The largest file there is, padded well past its end.
    const ChannelDatabase full = buildDatabase(testing::fullCapacityShape());
    auto bytes = fileBytesOf(full);
    const std::size_t file_size = bytes.size();
    EXPECT_EQ(file_size, 134u + 255 * 52 + 1000 * 16 + 20000 * 44 + 125 * 28 + 20000 * 7);
    bytes.resize(file_size + 300000, 0xFF);
    writeFile(path, bytes);
    ChannelDatabase db;
    ASSERT_TRUE(loadChannelFile(path, db).ok());
    EXPECT_EQ(contentDifference(full, db), "");
    EXPECT_EQ(fileBytesOf(db), std::vector(bytes.begin(), bytes.begin() + file_size));

    ChannelDatabase other = previouslyLoaded();
    for (const std::string& bad : {(dir / "missing.bin").string(), dir.string()}) {
        const LoadResult result = loadChannelFile(bad, other);
        EXPECT_EQ(result.status, LoadStatus::CannotOpen) << bad;
        EXPECT_TRUE(result.messages.empty());
    }
    // A file cut short on disk is refused like one cut short in memory.
    bytes.resize(bytes.size() / 2);
    writeFile(path, bytes);
    EXPECT_EQ(loadChannelFile(path, other).status, LoadStatus::BadFormat);
    EXPECT_EQ(contentDifference(previouslyLoaded(), other), "");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zoedit
