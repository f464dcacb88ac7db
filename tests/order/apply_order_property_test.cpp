// A receiver's rescan brings a list back shuffled: transponders and channels
// in a new order, some frequencies a megahertz off, some channels renamed,
// gone or new, no favourite groups and the locks gone (or a few stray ones). Applying the list
// saved before the rescan must give every channel still there its old place, its lock and its
// groups, as one undo step, with the file's rules intact.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "database/invariants.h"
#include "order/apply_order.h"
#include "support/database_builder.h"

namespace zoedit::order {
namespace {

constexpr const char* kNames[] = {"News", "Sport", "Movies", "Kids", "Music", "Docs", "Quran"};

// Channels carry their original index + 1 in fourth_pid, which nothing here
// changes, so that a channel can be recognised wherever it lands; new ones
// carry 0.
std::size_t originalOf(const ChannelRecord& channel) {
    return channel.fourth_pid;
}

ChannelDatabase randomOriginal(std::mt19937& rng) {
    const auto below = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    const std::size_t transponders = 1 + below(40);
    testing::DatabaseShape shape{.satellites = 1 + below(6),
                                 .transponders = transponders,
                                 .tv = below(150),
                                 .radio = below(60),
                                 .groups = {},
                                 .seed = static_cast<std::uint32_t>(rng())};
    ChannelDatabase db = testing::buildDatabase(shape);
    // Transponders ten megahertz apart, so that a rescan's rounding never
    // makes two of them one; a service id comes back on every transponder.
    for (std::size_t t = 0; t < db.transponders.count; ++t)
        db.transponders.primary[t].frequency = static_cast<std::uint16_t>(10700 + 10 * t);
    for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio}) {
        auto& table = db.channels(kind);
        std::vector<std::uint16_t> on_transponder(db.transponders.count, 0);
        for (std::size_t i = 0; i < table.count; ++i) {
            ChannelRecord& ch = table.primary[i];
            ch.transponder_index = static_cast<std::uint16_t>(below(db.transponders.count));
            ch.service_id = on_transponder[ch.transponder_index]++;
            setNameBytes(ch.name, kNames[below(std::size(kNames))]);
            ch.locked = below(4) == 0;
            ch.fourth_pid = static_cast<std::uint16_t>(i + 1);
        }
    }
    // Groups with members in no particular order.
    const std::size_t groups = below(8);
    db.general.favourite_group_count = static_cast<std::uint16_t>(groups);
    for (std::size_t g = 0; g < groups; ++g) {
        auto& group = db.favourites.groups[g];
        setNameBytes(group.name, "Group " + std::to_string(g));
        for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio}) {
            const std::size_t n = db.channels(kind).count;
            std::vector<std::uint16_t> members(n);
            std::iota(members.begin(), members.end(), std::uint16_t{0});
            std::shuffle(members.begin(), members.end(), rng);
            members.resize(n ? below(std::min<std::size_t>(n, 12) + 1) : 0);
            auto& list =
                kind == ChannelKind::Tv ? db.favourites.tv_members : db.favourites.radio_members;
            for (auto m : members) list.primary[list.count++] = m;
            (kind == ChannelKind::Tv ? group.tv_count : group.radio_count) =
                static_cast<std::uint16_t>(members.size());
        }
    }
    return db;
}

ChannelDatabase rescanOf(const ChannelDatabase& original, std::mt19937& rng) {
    const auto below = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    ChannelDatabase scan = original;
    const std::size_t tps = original.transponders.count;
    std::vector<std::size_t> moved_to(tps);
    std::iota(moved_to.begin(), moved_to.end(), std::size_t{0});
    std::shuffle(moved_to.begin(), moved_to.end(), rng);
    for (std::size_t t = 0; t < tps; ++t) {
        TransponderRecord tp = original.transponders.primary[t];
        if (below(4) == 0)
            tp.frequency = static_cast<std::uint16_t>(tp.frequency + (below(2) ? 1 : -1));
        scan.transponders.primary[moved_to[t]] = tp;
    }
    for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio}) {
        std::vector<ChannelRecord> channels;
        for (const ChannelRecord& old : original.channels(kind).records()) {
            if (below(10) == 0) continue;  // gone
            ChannelRecord ch = old;
            ch.transponder_index = static_cast<std::uint16_t>(moved_to[old.transponder_index]);
            ch.locked = below(8) == 0;  // most locks gone, a few where there were none
            if (below(10) == 0) setNameBytes(ch.name, "Renamed " + std::to_string(ch.fourth_pid));
            channels.push_back(ch);
        }
        for (std::size_t k = below(6); k > 0 && tps > 0; --k) {
            ChannelRecord fresh = original.channels(kind).count ? original.channels(kind).primary[0]
                                                                : ChannelRecord{};
            fresh.transponder_index = static_cast<std::uint16_t>(below(tps));
            fresh.service_id = static_cast<std::uint16_t>(5000 + k);
            fresh.fourth_pid = 0;
            fresh.locked = 0;
            setNameBytes(fresh.name, "New " + std::to_string(k));
            channels.push_back(fresh);
        }
        std::shuffle(channels.begin(), channels.end(), rng);
        auto& table = scan.channels(kind);
        table.reset(channels.size());
        std::copy(channels.begin(), channels.end(), table.primary.begin());
        table.copyAllToWorking();
    }
    scan.general.favourite_group_count = 0;
    scan.favourites.groups.assign(kFavouriteGroupCapacity, FavouriteGroup{});
    scan.favourites.tv_members.reset(0);
    scan.favourites.radio_members.reset(0);
    scan.transponders.copyAllToWorking();
    return scan;
}

// Original indexes of the channels of a list, in list order (-1 for new ones).
std::vector<long> originals(const ChannelDatabase& db, ChannelKind kind) {
    std::vector<long> out;
    for (const ChannelRecord& ch : db.channels(kind).records())
        out.push_back(static_cast<long>(originalOf(ch)) - 1);
    return out;
}

void checkApplied(const ChannelDatabase& original, const ChannelDatabase& scan,
                  const ChannelDatabase& db, const OrderMatch& match, UnmatchedPlace unmatched) {
    EXPECT_EQ(checkInvariants(db), std::vector<std::string>{});
    for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio}) {
        SCOPED_TRACE(kind == ChannelKind::Tv ? "tv" : "radio");
        const std::vector<long> before = originals(scan, kind);
        const std::vector<long> after = originals(db, kind);
        std::vector<long> kept, fresh;
        for (long o : before) (o >= 0 ? kept : fresh).push_back(o);
        std::sort(kept.begin(), kept.end());
        std::vector<long> expected = unmatched == UnmatchedPlace::Last ? kept : fresh;
        const auto& rest = unmatched == UnmatchedPlace::Last ? fresh : kept;
        expected.insert(expected.end(), rest.begin(), rest.end());
        EXPECT_EQ(after, expected);

        ASSERT_TRUE(match.list(kind));
        EXPECT_EQ(match.list(kind)->by_identity, kept.size());
        EXPECT_EQ(match.list(kind)->unmatched, fresh.size());
        EXPECT_EQ(match.list(kind)->missing.size(), original.channels(kind).count - kept.size());
        for (const ChannelRecord& ch : db.channels(kind).records()) {
            if (originalOf(ch) == 0) continue;
            EXPECT_EQ(ch.locked, original.channels(kind).primary[originalOf(ch) - 1].locked);
        }
    }
    ASSERT_EQ(db.favouriteGroupCount(), original.favouriteGroupCount());
    for (std::size_t g = 0; g < original.favouriteGroupCount(); ++g) {
        EXPECT_EQ(db.favourites.groups[g].name, original.favourites.groups[g].name);
        for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio}) {
            const std::vector<long> still_there = originals(db, kind);
            std::vector<long> expected, members;
            for (auto m : original.groupMembers(g, kind))
                if (std::count(still_there.begin(), still_there.end(), long{m}))
                    expected.push_back(m);
            for (auto m : db.groupMembers(g, kind))
                members.push_back(static_cast<long>(originalOf(db.channels(kind).primary[m])) - 1);
            EXPECT_EQ(members, expected) << "group " << g;
        }
    }
}

TEST(ApplyOrderProperty, ARescanGetsBackTheOrderLocksAndGroupsOfTheListBeforeIt) {
    std::mt19937 rng(24);
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const ChannelDatabase original = randomOriginal(rng);
        ASSERT_EQ(checkInvariants(original), std::vector<std::string>{});
        const ChannelDatabase scan = rescanOf(original, rng);
        ASSERT_EQ(checkInvariants(scan), std::vector<std::string>{});

        ChannelDatabase db = scan;
        edit::EditHistory history;
        ApplyOrderOptions options;
        options.locks = options.favourites = true;
        options.unmatched = round % 3 == 0 ? UnmatchedPlace::First : UnmatchedPlace::Last;
        const AppliedOrder applied =
            applyOrder(db, history, referenceFromDatabase(original), options);
        ASSERT_TRUE(applied.result.ok()) << applied.result.message;
        checkApplied(original, scan, db, applied.match, options.unmatched);
        if (::testing::Test::HasFailure()) return;

        // One step, which undo takes back whole and redo puts back.
        const ChannelDatabase applied_db = db;
        if (history.canUndo()) {
            EXPECT_EQ(history.undoName(), "Apply Order");
            EXPECT_EQ(history.stepCount(), 1u);
            edit::RowSelection selection;
            ASSERT_TRUE(history.undo(db, selection).ok());
            EXPECT_EQ(testing::contentDifference(db, scan), "");
            ASSERT_TRUE(history.redo(db, selection).ok());
            EXPECT_EQ(testing::contentDifference(db, applied_db), "");
        }
        // Applying it again changes nothing more.
        EXPECT_TRUE(applyOrder(db, history, referenceFromDatabase(original), options).result.ok());
        EXPECT_EQ(testing::contentDifference(db, applied_db), "");
    }
}

}  // namespace
}  // namespace zoedit::order
