// What changed between two channel files: the channels of `after` that are
// new since `before`, those gone, moved, renamed or with other fields
// changed, paired as Apply Order pairs them (channel_match.h); the
// satellites and transponders added, removed or changed; the favourite
// groups whose names or members changed. A plain value, shown by zoedit-cli
// diff and the Compare dialog alike.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "database/channel_database.h"
#include "database/codepage.h"

namespace zoedit::order {

// A record's index in `before` and in `after`.
struct RecordPair {
    std::size_t before = 0;
    std::size_t after = 0;
    bool operator==(const RecordPair&) const = default;
};

enum class ChannelField {
    Transponder,  // its satellite position, frequency, polarisation, symbol rate, FEC
    ServiceId,
    CodePid,
    VideoPid,
    AudioPid,
    FourthPid,
    PidMode,
    Scrambled,
    Locked,
};
// "transponder", "service_id", "video_pid", ...
const char* fieldName(ChannelField field);

struct FieldChange {
    ChannelField field = ChannelField::Transponder;
    std::string before;  // the value's text form
    std::string after;
};

struct ChangedChannel {
    RecordPair pair;
    std::vector<FieldChange> fields;
};

struct ListDiff {
    ChannelKind kind = ChannelKind::Tv;
    std::size_t by_identity = 0;
    std::size_t by_name = 0;
    std::vector<std::size_t> added;    // indexes in after, in its order
    std::vector<std::size_t> removed;  // indexes in before, in its order
    // The fewest channels whose moves explain the new order (the others keep
    // their order among themselves, whatever their numbers became), in
    // after's order.
    std::vector<RecordPair> moved;
    std::vector<RecordPair> renamed;  // in after's order
    std::vector<ChangedChannel> changed;
    bool empty() const {
        return added.empty() && removed.empty() && moved.empty() && renamed.empty() &&
               changed.empty();
    }
};

// Satellites are paired by position, transponders by satellite position,
// polarisation and exact frequency; a pair whose other fields differ is
// changed.
struct RecordDiff {
    std::vector<std::size_t> added;
    std::vector<std::size_t> removed;
    std::vector<RecordPair> changed;
    // The table differs, but in nothing above: its records were reordered.
    bool reordered = false;
    bool empty() const { return added.empty() && removed.empty() && changed.empty() && !reordered; }
};

struct GroupSideDiff {
    std::vector<std::size_t> added;    // channel indexes in after
    std::vector<std::size_t> removed;  // channel indexes in before
    bool reordered = false;            // the same channels in another order
    bool empty() const { return added.empty() && removed.empty() && !reordered; }
};

// Group g of the two files; a name is absent when that file has no group g.
struct GroupDiff {
    std::size_t group = 0;
    std::optional<std::string> before_name;  // bytes
    std::optional<std::string> after_name;
    GroupSideDiff tv;
    GroupSideDiff radio;
    bool renamed() const { return before_name && after_name && *before_name != *after_name; }
};

struct DatabaseDiff {
    std::vector<ListDiff> lists;  // those compared, TV first
    RecordDiff satellites;
    RecordDiff transponders;
    std::vector<GroupDiff> groups;  // only the groups that changed
    // The two hold the same records in the same order (in the lists
    // compared); false with nothing listed above means bytes the comparison
    // does not show differ (unused bytes of a name field).
    bool same = true;

    const ListDiff* list(ChannelKind kind) const;
};

struct DiffOptions {
    std::vector<ChannelKind> lists = {ChannelKind::Tv, ChannelKind::Radio};
    CodePage page = CodePage::Windows1256;  // of the names, for pairing by name
};

DatabaseDiff diffDatabases(const ChannelDatabase& before, const ChannelDatabase& after,
                           const DiffOptions& options = {});

// The text of a channel's transponder as the comparison shows it:
// "019.2E 11494 H 22000 3/4", empty when the channel has none.
std::string channelTransponderText(const ChannelDatabase& db, const ChannelRecord& channel);

}  // namespace zoedit::order
