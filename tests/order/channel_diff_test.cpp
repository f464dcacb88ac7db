// Comparing two channel files: after any run of inserts, deletes, moves,
// renames and field edits the comparison reports exactly those channels,
// each paired with itself, and the fewest moves that explain the new order.
#include "order/channel_diff.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "database/field_format.h"
#include "edit/edit_operations.h"
#include "order/diff_text.h"
#include "support/database_builder.h"

namespace zoedit::order {
namespace {

using edit::TableCopy;

// Channels with identities no two share: a service id per channel, and
// transponders far apart.
ChannelDatabase distinctChannels(std::mt19937& rng, std::size_t tv, std::size_t radio) {
    testing::DatabaseShape shape{.satellites = 3,
                                 .transponders = 12,
                                 .tv = tv,
                                 .radio = radio,
                                 .groups = {{4, 2}, {3, 0}},
                                 .seed = static_cast<std::uint32_t>(rng())};
    ChannelDatabase db = testing::buildDatabase(shape);
    for (std::size_t t = 0; t < db.transponders.count; ++t)
        db.transponders.primary[t].frequency = static_cast<std::uint16_t>(10700 + 10 * t);
    for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio}) {
        auto& table = db.channels(kind);
        for (std::size_t i = 0; i < table.count; ++i) {
            table.primary[i].service_id = static_cast<std::uint16_t>(i + 1);
            table.primary[i].locked = 0;
            setNameBytes(table.primary[i].name, "Channel " + std::to_string(i));
        }
    }
    return db;
}

// The length of the longest increasing run, by the plain quadratic method.
std::size_t longestIncreasing(const std::vector<std::size_t>& values) {
    std::vector<std::size_t> best(values.size(), 1);
    std::size_t longest = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j)
            if (values[j] < values[i]) best[i] = std::max(best[i], best[j] + 1);
        longest = std::max(longest, best[i]);
    }
    return longest;
}

struct Expected {
    std::set<std::size_t> removed;  // original indexes
    std::set<std::size_t> renamed;
    std::map<std::size_t, std::set<ChannelField>> changed;
    std::size_t moves = 0;
};

TEST(ChannelDiff, ReportsExactlyTheEditsMadeWithTheFewestMoves) {
    std::mt19937 rng(20261209);
    for (int round = 0; round < 150; ++round) {
        const auto below = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
        const ChannelDatabase before = distinctChannels(rng, 4 + below(60), 2 + below(20));
        ChannelDatabase after = before;
        std::map<ChannelKind, std::vector<std::optional<std::size_t>>> origin;
        std::map<ChannelKind, Expected> expected;
        std::uint16_t next_sid = 1000;
        for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio})
            for (std::size_t i = 0; i < before.channels(kind).count; ++i) origin[kind].push_back(i);

        const int steps = static_cast<int>(below(12));
        for (int s = 0; s < steps; ++s) {
            const ChannelKind kind = below(3) == 0 ? ChannelKind::Radio : ChannelKind::Tv;
            auto& table = after.channels(kind);
            auto& from = origin[kind];
            Expected& e = expected[kind];
            const std::size_t n = table.count;
            switch (below(5)) {
                case 0: {  // a new channel
                    ChannelRecord record = before.tv.count ? before.tv.primary[0] : ChannelRecord{};
                    record.transponder_index = 0;
                    record.service_id = next_sid++;
                    setNameBytes(record.name, "New " + std::to_string(record.service_id));
                    const std::size_t row = below(n + 1);
                    ASSERT_TRUE(
                        edit::insertChannel(after, TableCopy::Primary, kind, row, record).ok());
                    from.insert(from.begin() + static_cast<std::ptrdiff_t>(row), std::nullopt);
                    break;
                }
                case 1:
                    if (n == 0) break;
                    {
                        const std::size_t row = below(n);
                        ASSERT_TRUE(edit::deleteChannel(after, TableCopy::Primary, kind, row).ok());
                        if (from[row]) {
                            e.removed.insert(*from[row]);
                            e.renamed.erase(*from[row]);
                            e.changed.erase(*from[row]);
                        }
                        from.erase(from.begin() + static_cast<std::ptrdiff_t>(row));
                    }
                    break;
                case 2:
                    if (n == 0) break;
                    {
                        const std::size_t a = below(n), b = below(n);
                        ASSERT_TRUE(edit::moveChannel(after, TableCopy::Primary, kind, a, b).ok());
                        const auto who = from[a];
                        from.erase(from.begin() + static_cast<std::ptrdiff_t>(a));
                        from.insert(from.begin() + static_cast<std::ptrdiff_t>(b), who);
                        if (a != b) ++e.moves;
                    }
                    break;
                case 3:
                    if (n == 0) break;
                    {
                        const std::size_t row = below(n);
                        ChannelRecord values = table.primary[row];
                        setNameBytes(values.name, "Renamed " + std::to_string(s));
                        ASSERT_TRUE(
                            edit::setChannelFields(after, TableCopy::Primary, kind, row, values)
                                .ok());
                        if (from[row]) e.renamed.insert(*from[row]);
                    }
                    break;
                default:
                    if (n == 0) break;
                    {
                        const std::size_t row = below(n);
                        ChannelRecord values = table.primary[row];
                        const bool lock = below(2) == 0;
                        if (lock)
                            values.locked = values.locked ? 0 : 1;
                        else
                            values.video_pid = static_cast<std::uint16_t>(values.video_pid + 1);
                        ASSERT_TRUE(
                            edit::setChannelFields(after, TableCopy::Primary, kind, row, values)
                                .ok());
                        if (from[row])
                            e.changed[*from[row]].insert(lock ? ChannelField::Locked
                                                              : ChannelField::VideoPid);
                    }
                    break;
            }
        }

        const DatabaseDiff diff = diffDatabases(before, after);
        ASSERT_EQ(diff.lists.size(), 2u);
        bool any = false;
        for (const ListDiff& list : diff.lists) {
            SCOPED_TRACE(::testing::Message() << "round " << round << " list "
                                              << (list.kind == ChannelKind::Tv ? "TV" : "radio"));
            const auto& from = origin[list.kind];
            Expected& e = expected[list.kind];
            // A renamed channel whose name came back, or a flag toggled twice, is no change.
            for (auto it = e.renamed.begin(); it != e.renamed.end();) {
                const auto at = std::find(from.begin(), from.end(), std::optional(*it));
                const std::size_t now = static_cast<std::size_t>(at - from.begin());
                if (nameBytes(after.channels(list.kind).primary[now].name) ==
                    nameBytes(before.channels(list.kind).primary[*it].name))
                    it = e.renamed.erase(it);
                else
                    ++it;
            }
            std::vector<std::size_t> added_expected;
            std::vector<std::size_t> surviving;
            for (std::size_t i = 0; i < from.size(); ++i) {
                if (!from[i])
                    added_expected.push_back(i);
                else
                    surviving.push_back(*from[i]);
            }
            EXPECT_EQ(list.added, added_expected);
            EXPECT_EQ(std::set<std::size_t>(list.removed.begin(), list.removed.end()), e.removed);
            EXPECT_EQ(list.by_identity, surviving.size());

            std::set<std::size_t> renamed;
            for (const RecordPair& p : list.renamed) {
                EXPECT_EQ(from.at(p.after), p.before);
                renamed.insert(p.before);
            }
            EXPECT_EQ(renamed, e.renamed);

            std::map<std::size_t, std::set<ChannelField>> changed;
            for (const ChangedChannel& c : list.changed) {
                EXPECT_EQ(from.at(c.pair.after), c.pair.before);
                for (const FieldChange& f : c.fields) changed[c.pair.before].insert(f.field);
            }
            // A field changed twice may be back where it was.
            for (const auto& [channel, fields] : changed)
                for (ChannelField f : fields) EXPECT_TRUE(e.changed[channel].count(f));
            for (const auto& [channel, fields] : e.changed) {
                const auto at = std::find(from.begin(), from.end(), std::optional(channel));
                const ChannelRecord& a = before.channels(list.kind).primary[channel];
                const ChannelRecord& b =
                    after.channels(list.kind).primary[static_cast<std::size_t>(at - from.begin())];
                const bool differs = a.locked != b.locked || a.video_pid != b.video_pid;
                EXPECT_EQ(changed.count(channel) != 0, differs) << "channel " << channel;
            }

            // Without the moved channels, the rest keep their order; and no
            // fewer channels could have explained the new order.
            std::set<std::size_t> moved;
            for (const RecordPair& p : list.moved) {
                EXPECT_EQ(from.at(p.after), p.before);
                moved.insert(p.before);
            }
            std::vector<std::size_t> staying;
            for (std::size_t o : surviving)
                if (!moved.count(o)) staying.push_back(o);
            EXPECT_TRUE(std::is_sorted(staying.begin(), staying.end()));
            EXPECT_EQ(list.moved.size(), surviving.size() - longestIncreasing(surviving));
            EXPECT_LE(list.moved.size(), e.moves);
            any = any || !list.empty();
        }
        // Groups follow their channels: only a deleted member changes a group.
        for (const GroupDiff& g : diff.groups) {
            EXPECT_FALSE(g.renamed());
            EXPECT_TRUE(g.tv.added.empty() && g.radio.added.empty());
            EXPECT_FALSE(g.tv.reordered || g.radio.reordered);
        }
        EXPECT_EQ(diff.same, testing::contentDifference(before, after).empty());
        if (!diff.same) {
            EXPECT_TRUE(any || !diff.groups.empty());
        }
    }
}

TEST(ChannelDiff, AFileComparedWithItselfIsTheSame) {
    std::mt19937 rng(7);
    const ChannelDatabase db = distinctChannels(rng, 30, 10);
    const DatabaseDiff diff = diffDatabases(db, db);
    EXPECT_TRUE(diff.same);
    for (const ListDiff& list : diff.lists) EXPECT_TRUE(list.empty());
    EXPECT_TRUE(diff.satellites.empty() && diff.transponders.empty() && diff.groups.empty());
}

TEST(ChannelDiff, SatellitesTranspondersAndGroupsBeyondTheChannels) {
    std::mt19937 rng(11);
    const ChannelDatabase before = distinctChannels(rng, 20, 6);
    ChannelDatabase after = before;
    // A satellite renamed, a transponder's symbol rate changed, another's
    // frequency moved (gone and new), a group renamed and reordered, and a
    // channel's transponder changed with it.
    setNameBytes(after.satellites.primary[1].name, "Elsewhere");
    after.transponders.primary[2].symbol_rate += 1000;
    after.transponders.primary[3].frequency += 1;
    setNameBytes(after.favourites.groups[0].name, "Renamed group");
    std::swap(after.favourites.tv_members.primary[0], after.favourites.tv_members.primary[1]);

    const DatabaseDiff diff = diffDatabases(before, after);
    EXPECT_FALSE(diff.same);
    EXPECT_EQ(diff.satellites.changed, (std::vector<RecordPair>{{1, 1}}));
    EXPECT_EQ(diff.transponders.changed, (std::vector<RecordPair>{{2, 2}}));
    EXPECT_EQ(diff.transponders.added, std::vector<std::size_t>{3});
    EXPECT_EQ(diff.transponders.removed, std::vector<std::size_t>{3});
    ASSERT_EQ(diff.groups.size(), 1u);
    EXPECT_TRUE(diff.groups[0].renamed());
    EXPECT_TRUE(diff.groups[0].tv.reordered);
    EXPECT_TRUE(diff.groups[0].tv.added.empty() && diff.groups[0].tv.removed.empty());

    // Every channel on transponder 2 changed its transponder, and nothing else.
    const ListDiff& tv = *diff.list(ChannelKind::Tv);
    for (const ChangedChannel& c : tv.changed) {
        const std::uint16_t t = before.tv.primary[c.pair.before].transponder_index;
        EXPECT_TRUE(t == 2 || t == 3);
        ASSERT_EQ(c.fields.size(), 1u);
        EXPECT_EQ(c.fields[0].field, ChannelField::Transponder);
    }
    EXPECT_TRUE(tv.moved.empty() && tv.added.empty() && tv.removed.empty());

    // Only satellites in another order: said, not hidden.
    ChannelDatabase swapped = before;
    std::swap(swapped.satellites.primary[0], swapped.satellites.primary[1]);
    for (std::size_t t = 0; t < swapped.transponders.count; ++t) {
        auto& s = swapped.transponders.primary[t].satellite_index;
        s = s == 0 ? 1 : s == 1 ? 0 : s;
    }
    const DatabaseDiff reordered = diffDatabases(before, swapped);
    EXPECT_FALSE(reordered.same);
    EXPECT_TRUE(reordered.satellites.reordered);
    EXPECT_FALSE(reordered.transponders.reordered);
    EXPECT_TRUE(reordered.list(ChannelKind::Tv)->empty());
}

TEST(ChannelDiff, RowsNameBothSidesAndTheFields) {
    std::mt19937 rng(3);
    const ChannelDatabase before = distinctChannels(rng, 5, 0);
    ChannelDatabase after = before;
    setNameBytes(after.tv.primary[1].name, "Other");
    after.tv.primary[2].video_pid = 0x0201;
    after.tv.primary[2].locked = 1;
    const DatabaseDiff diff = diffDatabases(before, after);
    const auto renamed = diffRows(diff, DiffKind::Renamed, before, after, CodePage::Windows1256);
    ASSERT_EQ(renamed.size(), 1u);
    EXPECT_EQ(renamed[0].details, "\"Channel 1\" -> \"Other\"");
    EXPECT_EQ(rowNumbersText(renamed[0]), "TV 0002 -> 0002");
    const auto changed = diffRows(diff, DiffKind::Changed, before, after, CodePage::Windows1256);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].details,
              "video_pid " + hex4Text(before.tv.primary[2].video_pid) + " -> 0201; locked 0 -> 1");
}

}  // namespace
}  // namespace zoedit::order
