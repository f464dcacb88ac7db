// Entries of the favourite groups: each group is a run of the flat member
// list of its kind, starting after the entries of all earlier groups.
#include "edit/edit_operations.h"
#include "edit/table_rows.h"

namespace zoedit::edit {

using namespace detail;

namespace {

EditResult checkGroup(const ChannelDatabase& db, std::size_t group) {
    if (group >= groupCount(db)) return noSuch("favourite group", group, groupCount(db));
    return EditResult::done();
}

// Index in the flat list of the group's first entry; `size` gets its count.
std::size_t groupStart(ChannelDatabase& db, std::size_t group, ChannelKind kind,
                       std::size_t& size) {
    const std::size_t start = db.groupMemberStart(group, kind);
    const std::size_t count = membersOf(db, kind).count;
    size = start >= count ? 0 : std::min<std::size_t>(memberCount(db, group, kind), count - start);
    return start;
}

EditResult noSuchPosition(std::size_t position, std::size_t size) {
    return EditResult::refused(
        EditOutcome::NoSuchRecord,
        format("There is no place %zu in the group: it holds %zu.", position, size));
}

}  // namespace

EditResult addFavourite(ChannelDatabase& db, TableCopy copy, std::size_t group, ChannelKind kind,
                        std::size_t channel, std::optional<std::size_t> position) {
    if (auto check = checkGroup(db, group); !check.ok()) return check;
    if (!db.channels(kind).contains(channel))
        return noSuch(channelWord(kind), channel, db.channels(kind).count);
    std::size_t size = 0;
    const std::size_t start = groupStart(db, group, kind, size);
    auto& members = membersOf(db, kind);
    const auto& rows = rowsOf(members, copy);
    const auto first = rows.begin() + static_cast<std::ptrdiff_t>(start);
    if (std::find(first, first + static_cast<std::ptrdiff_t>(size), channel) !=
        first + static_cast<std::ptrdiff_t>(size))
        return EditResult::refused(
            EditOutcome::AlreadyInGroup,
            format("%s %zu is in the group already.", channelWord(kind), channel + 1));
    const std::size_t place = position.value_or(size + 1);
    if (place < 1 || place > size + 1) return noSuchPosition(place, size + 1);
    if (members.count >= kFavouriteMemberCapacity)
        return full(kind == ChannelKind::Tv ? "TV favourite" : "radio favourite",
                    kFavouriteMemberCapacity);
    insertRow(members, copy, start + place - 1, static_cast<std::uint16_t>(channel));
    ++memberCount(db, group, kind);
    return EditResult::done();
}

EditResult removeFavourite(ChannelDatabase& db, TableCopy copy, std::size_t group, ChannelKind kind,
                           std::size_t channel, std::optional<std::size_t> position) {
    if (auto check = checkGroup(db, group); !check.ok()) return check;
    std::size_t size = 0;
    const std::size_t start = groupStart(db, group, kind, size);
    auto& members = membersOf(db, kind);
    const auto& rows = rowsOf(members, copy);
    std::size_t place = 0;  // 1-based, 0 when not found
    if (position) {
        if (*position < 1 || *position > size) return noSuchPosition(*position, size);
        if (rows[start + *position - 1] == channel) place = *position;
    } else {
        for (std::size_t k = 0; k < size && place == 0; ++k)
            if (rows[start + k] == channel) place = k + 1;
    }
    if (place == 0)
        return EditResult::refused(EditOutcome::NotInGroup, format("%s %zu is not in the group.",
                                                                   channelWord(kind), channel + 1));
    eraseRow(members, copy, start + place - 1);
    --memberCount(db, group, kind);
    return EditResult::done();
}

EditResult moveFavourite(ChannelDatabase& db, TableCopy copy, std::size_t group, ChannelKind kind,
                         std::size_t from, std::size_t to) {
    if (auto check = checkGroup(db, group); !check.ok()) return check;
    std::size_t size = 0;
    const std::size_t start = groupStart(db, group, kind, size);
    if (from < 1 || from > size) return noSuchPosition(from, size);
    if (to < 1 || to > size) return noSuchPosition(to, size);
    auto& rows = rowsOf(membersOf(db, kind), copy);
    const auto at = [&](std::size_t p) {
        return rows.begin() + static_cast<std::ptrdiff_t>(start + p - 1);
    };
    if (from < to)
        std::rotate(at(from), at(from + 1), at(to + 1));
    else
        std::rotate(at(to), at(from), at(from + 1));
    return EditResult::done();
}

EditResult renameFavouriteGroup(ChannelDatabase& db, std::size_t group, std::string_view name) {
    if (auto check = checkGroup(db, group); !check.ok()) return check;
    setNameBytes(db.favourites.groups[group].name, name);
    return EditResult::done();
}

EditResult clearFavouriteGroup(ChannelDatabase& db, TableCopy copy, std::size_t group,
                               ChannelKind kind) {
    if (auto check = checkGroup(db, group); !check.ok()) return check;
    std::size_t size = 0;
    const std::size_t start = groupStart(db, group, kind, size);
    eraseRows(membersOf(db, kind), copy, start, size);
    memberCount(db, group, kind) = 0;
    return EditResult::done();
}

}  // namespace zoedit::edit
