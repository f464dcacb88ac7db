#include "database/sample_database.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <span>
#include <tuple>

#include "database/invariants.h"

namespace zoedit {
namespace {

std::unique_ptr<ChannelDatabase> sample(SampleSize size) {
    auto db = std::make_unique<ChannelDatabase>();
    buildSampleDatabase(*db, size);
    return db;
}

// Field by field: records have padding that memcmp would compare.
auto fields(const SatelliteRecord& r) {
    return std::tie(r.band, r.position, r.name);
}
auto fields(const TransponderRecord& r) {
    return std::tie(r.network_id, r.frequency_order, r.frequency, r.symbol_rate, r.polarisation,
                    r.fec, r.satellite_index);
}
auto fields(const ChannelRecord& r) {
    return std::tie(r.transponder_index, r.service_id, r.name, r.code_pid, r.video_pid, r.audio_pid,
                    r.fourth_pid, r.pid_mode, r.scrambled, r.locked);
}
auto fields(const std::uint16_t& r) {
    return std::tie(r);
}

template <typename Record>
bool sameRecords(std::span<const Record> a, std::span<const Record> b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const auto& x, const auto& y) { return fields(x) == fields(y); });
}
template <typename Record>
bool sameRecords(const DualTable<Record>& a, const DualTable<Record>& b) {
    return sameRecords(a.records(), b.records());
}

TEST(SampleDatabase, TypicalIsConsistentAndVaried) {
    const auto db = sample(SampleSize::Typical);
    EXPECT_TRUE(checkInvariants(*db).empty());
    EXPECT_EQ(db->header.magic, kFileMagic);
    EXPECT_EQ(db->format.format_id, kFormatId);
    EXPECT_EQ(db->header.usage_type, 3);
    EXPECT_GE(db->satelliteCount(), 6u);
    EXPECT_GE(db->transponderCount(), 36u);
    EXPECT_GE(db->tvCount(), 200u);
    EXPECT_GE(db->radioCount(), 50u);
    EXPECT_GE(db->favouriteGroupCount(), 3u);
    EXPECT_GT(db->favourites.tv_members.count, 0u);
    EXPECT_GT(db->favourites.radio_members.count, 0u);

    const auto tv = db->tv.records();
    const auto count = [&](auto pred) { return std::count_if(tv.begin(), tv.end(), pred); };
    EXPECT_GT(count([](const auto& c) { return c.scrambled == 1; }), 10);
    EXPECT_GT(count([](const auto& c) { return c.locked == 1; }), 2);
    EXPECT_GT(count([](const auto& c) { return static_cast<unsigned char>(c.name[0]) >= 0xC0; }),
              10);  // Arabic letters in the code page

    bool c_band = false, ku_band = false, west = false;
    for (const auto& tp : db->transponders.records()) {
        c_band |= tp.frequency >= 3000 && tp.frequency <= 6000;
        ku_band |= tp.frequency > 9999 && tp.frequency <= 17000;
        // The stored band already agrees with what saving derives.
        EXPECT_EQ(db->satellites.primary[tp.satellite_index].band, tp.frequency > 9999 ? 1 : 0);
    }
    for (const auto& sat : db->satellites.records()) west |= sat.position >= 1800;
    EXPECT_TRUE(c_band && ku_band && west);
}

TEST(SampleDatabase, FullHasEveryTableAtCapacity) {
    const auto db = sample(SampleSize::Full);
    EXPECT_TRUE(checkInvariants(*db).empty());
    EXPECT_EQ(db->satelliteCount(), kMaxSatelliteCount);
    EXPECT_EQ(db->transponderCount(), kTransponderCapacity);
    EXPECT_EQ(db->tvCount(), kChannelCapacity);
    EXPECT_EQ(db->radioCount(), kChannelCapacity);
    EXPECT_EQ(db->favouriteGroupCount(), kFavouriteGroupCapacity);
    EXPECT_EQ(db->favourites.tv_members.count, kFavouriteMemberCapacity);
    EXPECT_EQ(db->favourites.radio_members.count, kFavouriteMemberCapacity);
}

TEST(SampleDatabase, SameContentEveryTimeAndWorkingCopyMatches) {
    for (auto size : {SampleSize::Typical, SampleSize::Full}) {
        const auto a = sample(size);
        const auto b = sample(size);
        EXPECT_TRUE(sameRecords(a->satellites, b->satellites));
        EXPECT_TRUE(sameRecords(a->transponders, b->transponders));
        EXPECT_TRUE(sameRecords(a->tv, b->tv));
        EXPECT_TRUE(sameRecords(a->radio, b->radio));
        EXPECT_TRUE(sameRecords(a->favourites.tv_members, b->favourites.tv_members));
        EXPECT_TRUE(sameRecords(a->tv.records(),
                                std::span<const ChannelRecord>(a->tv.working.data(), a->tv.count)));
    }
}

}  // namespace
}  // namespace zoedit
