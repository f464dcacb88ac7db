#include "order/channel_diff.h"

#include <algorithm>
#include <functional>
#include <map>
#include <tuple>
#include <unordered_set>

#include "database/field_format.h"
#include "order/channel_match.h"
#include "order/order_reference.h"

namespace zoedit::order {
namespace {

// The pairs (in after's order) that keep their order among themselves: a
// longest run of increasing before-indexes. Everything else moved.
std::vector<bool> keptInOrder(const std::vector<RecordPair>& pairs) {
    std::vector<std::size_t> tails;  // per run length, the pair ending the best run
    std::vector<std::ptrdiff_t> previous(pairs.size(), -1);
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const auto place = std::lower_bound(
            tails.begin(), tails.end(), pairs[i].before,
            [&](std::size_t tail, std::size_t value) { return pairs[tail].before < value; });
        if (place != tails.begin()) previous[i] = static_cast<std::ptrdiff_t>(*(place - 1));
        if (place == tails.end())
            tails.push_back(i);
        else
            *place = i;
    }
    std::vector<bool> kept(pairs.size(), false);
    for (std::ptrdiff_t i = tails.empty() ? -1 : static_cast<std::ptrdiff_t>(tails.back()); i >= 0;
         i = previous[static_cast<std::size_t>(i)])
        kept[static_cast<std::size_t>(i)] = true;
    return kept;
}

void compareField(std::vector<FieldChange>& out, ChannelField field, std::string before,
                  std::string after) {
    if (before != after) out.push_back({field, std::move(before), std::move(after)});
}

std::vector<FieldChange> changedFields(const ChannelDatabase& before, const ChannelRecord& a,
                                       const ChannelDatabase& after, const ChannelRecord& b) {
    std::vector<FieldChange> fields;
    compareField(fields, ChannelField::Transponder, channelTransponderText(before, a),
                 channelTransponderText(after, b));
    compareField(fields, ChannelField::ServiceId, hex4Text(a.service_id), hex4Text(b.service_id));
    compareField(fields, ChannelField::CodePid, hex4Text(a.code_pid), hex4Text(b.code_pid));
    compareField(fields, ChannelField::VideoPid, hex4Text(a.video_pid), hex4Text(b.video_pid));
    compareField(fields, ChannelField::AudioPid, hex4Text(a.audio_pid), hex4Text(b.audio_pid));
    compareField(fields, ChannelField::FourthPid, hex4Text(a.fourth_pid), hex4Text(b.fourth_pid));
    compareField(fields, ChannelField::PidMode, decimalText(a.pid_mode), decimalText(b.pid_mode));
    compareField(fields, ChannelField::Scrambled, decimalText(a.scrambled),
                 decimalText(b.scrambled));
    compareField(fields, ChannelField::Locked, decimalText(a.locked), decimalText(b.locked));
    return fields;
}

struct ListComparison {
    ListDiff diff;
    std::vector<std::optional<std::size_t>> after_of;  // before index -> after index
};

ListComparison compareList(const ChannelDatabase& before, const ChannelDatabase& after,
                           ChannelKind kind, CodePage page) {
    ListComparison out;
    ListDiff& diff = out.diff;
    diff.kind = kind;
    const ListMatch match =
        matchChannels(referenceChannels(after, kind), referenceChannels(before, kind), page);
    diff.by_identity = match.by_identity;
    diff.by_name = match.by_name;
    diff.removed = match.missing;
    out.after_of.assign(before.channels(kind).count, std::nullopt);

    const auto& a = before.channels(kind).records();
    const auto& b = after.channels(kind).records();
    std::vector<RecordPair> pairs;
    for (std::size_t i = 0; i < b.size(); ++i) {
        if (!match.partner[i]) {
            diff.added.push_back(i);
            continue;
        }
        const RecordPair pair{*match.partner[i], i};
        pairs.push_back(pair);
        out.after_of[pair.before] = i;
        if (nameBytes(a[pair.before].name) != nameBytes(b[i].name)) diff.renamed.push_back(pair);
        auto fields = changedFields(before, a[pair.before], after, b[i]);
        if (!fields.empty()) diff.changed.push_back({pair, std::move(fields)});
    }
    const std::vector<bool> kept = keptInOrder(pairs);
    for (std::size_t p = 0; p < pairs.size(); ++p)
        if (!kept[p]) diff.moved.push_back(pairs[p]);
    return out;
}

// Pairs records of equal keys, each before-record with one after-record, in
// the tables' orders; what stays unpaired is added or removed.
template <typename Key, typename KeyOf, typename SameContent>
RecordDiff compareRecords(std::size_t before_count, std::size_t after_count, KeyOf key_of_before,
                          KeyOf key_of_after, SameContent same) {
    RecordDiff diff;
    std::map<Key, std::vector<std::size_t>> waiting;  // before indexes by key, in order
    for (std::size_t i = before_count; i-- > 0;) waiting[key_of_before(i)].push_back(i);
    for (std::size_t j = 0; j < after_count; ++j) {
        auto found = waiting.find(key_of_after(j));
        if (found == waiting.end() || found->second.empty()) {
            diff.added.push_back(j);
            continue;
        }
        const std::size_t i = found->second.back();
        found->second.pop_back();
        if (!same(i, j)) diff.changed.push_back({i, j});
    }
    for (const auto& [key, left] : waiting)
        diff.removed.insert(diff.removed.end(), left.begin(), left.end());
    std::sort(diff.removed.begin(), diff.removed.end());
    return diff;
}

RecordDiff compareSatellites(const ChannelDatabase& before, const ChannelDatabase& after) {
    const auto& a = before.satellites.records();
    const auto& b = after.satellites.records();
    RecordDiff diff = compareRecords<std::uint16_t>(
        a.size(), b.size(), std::function([&](std::size_t i) { return a[i].position; }),
        std::function([&](std::size_t j) { return b[j].position; }),
        [&](std::size_t i, std::size_t j) { return a[i] == b[j]; });
    diff.reordered = diff.empty() && !std::equal(a.begin(), a.end(), b.begin(), b.end());
    return diff;
}

// A transponder as the user knows it: its satellite by position, not by index.
using TransponderKey = std::tuple<int, std::uint8_t, std::uint16_t>;
using TransponderContent = std::tuple<int, std::uint8_t, std::uint16_t, std::uint16_t, std::uint8_t,
                                      std::uint16_t, std::uint16_t>;

int positionOf(const ChannelDatabase& db, const TransponderRecord& tp) {
    const SatelliteRecord* sat = db.satelliteOf(tp);
    return sat ? sat->position : -1;
}

TransponderContent transponderContent(const ChannelDatabase& db, std::size_t t) {
    const TransponderRecord& tp = db.transponders.primary[t];
    return {positionOf(db, tp), tp.polarisation,   tp.frequency, tp.symbol_rate, tp.fec,
            tp.network_id,      tp.frequency_order};
}

RecordDiff compareTransponders(const ChannelDatabase& before, const ChannelDatabase& after) {
    const auto keyOf = [](const ChannelDatabase& db) {
        return std::function([&db](std::size_t t) {
            const TransponderRecord& tp = db.transponders.primary[t];
            return TransponderKey{positionOf(db, tp), tp.polarisation, tp.frequency};
        });
    };
    const std::size_t na = before.transponders.count, nb = after.transponders.count;
    RecordDiff diff = compareRecords<TransponderKey>(
        na, nb, keyOf(before), keyOf(after), [&](std::size_t i, std::size_t j) {
            return transponderContent(before, i) == transponderContent(after, j);
        });
    if (diff.empty()) {
        bool same_order = na == nb;
        for (std::size_t t = 0; same_order && t < na; ++t)
            same_order = transponderContent(before, t) == transponderContent(after, t);
        diff.reordered = !same_order;
    }
    return diff;
}

std::size_t groupCount(const ChannelDatabase& db) {
    return std::min(db.favouriteGroupCount(), kFavouriteGroupCapacity);
}

GroupSideDiff compareGroupSide(const ChannelDatabase& before, const ChannelDatabase& after,
                               std::size_t g, ChannelKind kind,
                               const std::vector<std::optional<std::size_t>>& after_of) {
    GroupSideDiff side;
    std::vector<std::size_t> old_members, new_members;
    if (g < groupCount(before))
        for (auto m : before.groupMembers(g, kind)) old_members.push_back(m);
    if (g < groupCount(after))
        for (auto m : after.groupMembers(g, kind)) new_members.push_back(m);
    // A member names its channel by its partner in after; one outside its
    // table (files are not checked on loading) can only be compared as it is.
    constexpr std::size_t kOutside = std::size_t(1) << 40;
    const std::size_t after_count = after.channels(kind).count;
    const auto keyOfNew = [&](std::size_t m) { return m < after_count ? m : kOutside + m; };
    const auto keyOfOld = [&](std::size_t m) -> std::optional<std::size_t> {
        if (m >= after_of.size()) return kOutside + m;
        return after_of[m];
    };
    std::unordered_set<std::size_t> now;
    for (std::size_t m : new_members) now.insert(keyOfNew(m));
    std::vector<std::size_t> kept;  // the old members that stay, as keys
    std::unordered_set<std::size_t> still;
    for (std::size_t m : old_members) {
        const auto key = keyOfOld(m);
        if (key && now.count(*key)) {
            kept.push_back(*key);
            still.insert(*key);
        } else {
            side.removed.push_back(m);
        }
    }
    std::vector<std::size_t> staying_in_new_order;
    for (std::size_t m : new_members) {
        if (still.count(keyOfNew(m)))
            staying_in_new_order.push_back(keyOfNew(m));
        else
            side.added.push_back(m);
    }
    side.reordered = kept != staying_in_new_order;
    return side;
}

bool sameGroups(const ChannelDatabase& a, const ChannelDatabase& b,
                const std::vector<ChannelKind>& kinds) {
    if (groupCount(a) != groupCount(b)) return false;
    for (std::size_t g = 0; g < groupCount(a); ++g) {
        if (a.favourites.groups[g].name != b.favourites.groups[g].name) return false;
        for (ChannelKind kind : kinds) {
            const auto x = a.groupMembers(g, kind), y = b.groupMembers(g, kind);
            if (!std::equal(x.begin(), x.end(), y.begin(), y.end())) return false;
        }
    }
    return true;
}

template <typename Record>
bool sameTable(const DualTable<Record>& a, const DualTable<Record>& b) {
    const auto x = a.records(), y = b.records();
    return std::equal(x.begin(), x.end(), y.begin(), y.end());
}

}  // namespace

const char* fieldName(ChannelField field) {
    switch (field) {
        case ChannelField::Transponder:
            return "transponder";
        case ChannelField::ServiceId:
            return "service_id";
        case ChannelField::CodePid:
            return "code_pid";
        case ChannelField::VideoPid:
            return "video_pid";
        case ChannelField::AudioPid:
            return "audio_pid";
        case ChannelField::FourthPid:
            return "fourth_pid";
        case ChannelField::PidMode:
            return "pid_mode";
        case ChannelField::Scrambled:
            return "scrambled";
        case ChannelField::Locked:
            return "locked";
    }
    return "";
}

std::string channelTransponderText(const ChannelDatabase& db, const ChannelRecord& channel) {
    const TransponderRecord* tp = db.transponderOf(channel);
    if (!tp) return {};
    const SatelliteRecord* sat = db.satelliteOf(*tp);
    const std::string rest = transponderColumnText(db, channel);
    return sat ? positionText(sat->position) + " " + rest : rest;
}

const ListDiff* DatabaseDiff::list(ChannelKind kind) const {
    for (const ListDiff& l : lists)
        if (l.kind == kind) return &l;
    return nullptr;
}

DatabaseDiff diffDatabases(const ChannelDatabase& before, const ChannelDatabase& after,
                           const DiffOptions& options) {
    DatabaseDiff diff;
    std::vector<ChannelKind> kinds;
    for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio})
        if (std::find(options.lists.begin(), options.lists.end(), kind) != options.lists.end())
            kinds.push_back(kind);

    std::vector<std::optional<std::size_t>> after_of[2];
    for (ChannelKind kind : kinds) {
        ListComparison compared = compareList(before, after, kind, options.page);
        diff.lists.push_back(std::move(compared.diff));
        after_of[kind == ChannelKind::Tv ? 0 : 1] = std::move(compared.after_of);
    }
    diff.satellites = compareSatellites(before, after);
    diff.transponders = compareTransponders(before, after);

    const bool tv = std::find(kinds.begin(), kinds.end(), ChannelKind::Tv) != kinds.end();
    const bool radio = std::find(kinds.begin(), kinds.end(), ChannelKind::Radio) != kinds.end();
    for (std::size_t g = 0; g < std::max(groupCount(before), groupCount(after)); ++g) {
        GroupDiff group;
        group.group = g;
        if (g < groupCount(before)) group.before_name = nameBytes(before.favourites.groups[g].name);
        if (g < groupCount(after)) group.after_name = nameBytes(after.favourites.groups[g].name);
        if (tv) group.tv = compareGroupSide(before, after, g, ChannelKind::Tv, after_of[0]);
        if (radio)
            group.radio = compareGroupSide(before, after, g, ChannelKind::Radio, after_of[1]);
        if (!group.before_name || !group.after_name || group.renamed() || !group.tv.empty() ||
            !group.radio.empty())
            diff.groups.push_back(std::move(group));
    }

    diff.same = sameTable(before.satellites, after.satellites) &&
                sameTable(before.transponders, after.transponders) &&
                sameGroups(before, after, kinds);
    for (ChannelKind kind : kinds)
        diff.same = diff.same && sameTable(before.channels(kind), after.channels(kind));
    return diff;
}

}  // namespace zoedit::order
