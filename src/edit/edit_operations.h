// The edit operations on the channel tables. Every path that changes records
// (the form's New, Save and Delete, the favourite check boxes, cut and paste
// and drag in the lists, the favourites dialog, the command line) calls these
// and nothing else, so the rules below hold whichever path was taken:
//
// - Every reference (a channel's transponder_index, a transponder's
//   satellite_index, a favourite entry) designates after the operation the
//   record it designated before, or is removed with that record. The only
//   deliberate re-pointing is insertTransponder's, documented there.
// - Rows and favourite positions are as the editor shows them: rows 0-based
//   (the list shows row + 1), favourite positions 1-based.
// - Favourite groups are all the file's groups, not only the ten the channel
//   page shows.
// - A refused operation (see EditResult) changes nothing. Nothing is ever
//   stored beyond a table's capacity.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "database/channel_database.h"
#include "edit/edit_result.h"

namespace zoedit::edit {

// ----- Fields -------------------------------------------------------------
// Store the page's values into one record. The record's own reference
// (satellite_index of a transponder, transponder_index of a channel) is kept:
// editing fields never moves a record to another parent. Refused with
// InvalidValue for a position above 3599, a polarisation above 1 or a fec
// above 5.
EditResult setSatelliteFields(ChannelDatabase& db, TableCopy copy, std::size_t satellite,
                              const SatelliteRecord& values);
EditResult setTransponderFields(ChannelDatabase& db, TableCopy copy, std::size_t transponder,
                                const TransponderRecord& values);
EditResult setChannelFields(ChannelDatabase& db, TableCopy copy, ChannelKind kind, std::size_t row,
                            const ChannelRecord& values);
// The parental lock of one channel (locked stored as 1 or 0).
EditResult setChannelLock(ChannelDatabase& db, TableCopy copy, ChannelKind kind, std::size_t row,
                          bool locked);

// ----- Inserting ----------------------------------------------------------
// Inserts `record` at `row` (0..count) of the list; later channels move up one
// place and every favourite entry follows its channel. The record's
// transponder_index must name an existing transponder.
EditResult insertChannel(ChannelDatabase& db, TableCopy copy, ChannelKind kind, std::size_t row,
                         const ChannelRecord& record);
// New on the transponder page: a copy of transponder t is inserted at t and
// the old one moves to t + 1. The channels of t are re-pointed on purpose to
// the new transponder (they keep index t); channels of later transponders
// follow theirs. Then a copy of the channel at `row` (which must exist) is
// inserted at `row` of `kind`'s list, as insertChannel does.
EditResult insertTransponder(ChannelDatabase& db, TableCopy copy, std::size_t transponder,
                             ChannelKind kind, std::size_t row);
// New on the satellite page: appends `satellite`, then `transponder` on it,
// then `channel` on that transponder at the end of `kind`'s list. The
// references inside the three records are set here.
EditResult insertSatellite(ChannelDatabase& db, TableCopy copy, ChannelKind kind,
                           const SatelliteRecord& satellite, const TransponderRecord& transponder,
                           const ChannelRecord& channel);

// ----- Deleting -----------------------------------------------------------
// Removes the channel with every favourite entry it has, in every group, also
// when it stands twice in one group.
EditResult deleteChannel(ChannelDatabase& db, TableCopy copy, ChannelKind kind, std::size_t row);
// Removes the transponder with all its channels and their favourite entries.
// Its satellite goes too when other transponders remain and none of them is
// on it; the last transponder of all leaves its satellite in place.
EditResult deleteTransponder(ChannelDatabase& db, TableCopy copy, std::size_t transponder);
// Removes the satellite with all its transponders, their channels and those
// channels' favourite entries, wherever they stand in their tables.
EditResult deleteSatellite(ChannelDatabase& db, TableCopy copy, std::size_t satellite);

// ----- Moving -------------------------------------------------------------
// The channel at `from` ends up at row `to` (both below the count); the
// channels between move by one place. Every favourite entry keeps its place
// in its group and still designates the same channel.
EditResult moveChannel(ChannelDatabase& db, TableCopy copy, ChannelKind kind, std::size_t from,
                       std::size_t to);
// Puts every channel of the list at once where `order` says: row i of the
// list becomes the channel that stood at order[i]. `order` must name each
// row below the count exactly once. Favourite entries follow their channels.
EditResult reorderChannels(ChannelDatabase& db, TableCopy copy, ChannelKind kind,
                           const std::vector<std::size_t>& order);

// ----- Another list's order ----------------------------------------------
// What applying another list's order does to one list. Channels are named by
// their index before the step.
struct ListOrderPlan {
    ChannelKind kind = ChannelKind::Tv;
    std::vector<std::size_t> order;                           // as reorderChannels takes it
    std::vector<std::pair<std::size_t, std::uint8_t>> locks;  // channel, its new locked byte
    std::vector<std::pair<std::size_t, std::array<char, kChannelNameSize>>> names;
};
// A favourite group as it is to be: its name and its members by channel
// index before the step, in order.
struct GroupPlan {
    std::array<char, kGroupNameSize> name{};
    std::vector<std::size_t> tv;
    std::vector<std::size_t> radio;
};
struct ChannelOrderPlan {
    std::vector<ListOrderPlan> lists;  // lists not named keep their order
    // When given, these become the file's groups, all of them: the groups
    // the file had are replaced, their count included.
    std::optional<std::vector<GroupPlan>> groups;
};
// Reorders the lists of the plan, stores their locks and names, then
// replaces the favourite groups when the plan has them. Favourite entries
// follow their channels. Refused, with nothing changed, when a list is named
// twice, an order does not name every channel once, a channel index is
// outside its list, or the groups exceed their tables.
EditResult applyOrder(ChannelDatabase& db, TableCopy copy, const ChannelOrderPlan& plan);

// ----- Favourite groups ---------------------------------------------------
// Groups are 0-based here (the window and the command line show them from 1).
// Adds `channel` to the group at 1-based `position` (1..size + 1), or at the
// end when there is none. Refused when the channel is in the group already or
// the member list of its kind is full.
EditResult addFavourite(ChannelDatabase& db, TableCopy copy, std::size_t group, ChannelKind kind,
                        std::size_t channel, std::optional<std::size_t> position = {});
// Removes the channel's entry at 1-based `position`, or its first entry in the
// group when there is none. Refused with NotInGroup when that entry does not
// hold the channel.
EditResult removeFavourite(ChannelDatabase& db, TableCopy copy, std::size_t group, ChannelKind kind,
                           std::size_t channel, std::optional<std::size_t> position = {});
// The entry at 1-based `from` ends up at `to`; the entries between move by one.
EditResult moveFavourite(ChannelDatabase& db, TableCopy copy, std::size_t group, ChannelKind kind,
                         std::size_t from, std::size_t to);
// Name bytes in the file's code page, cut to the field.
EditResult renameFavouriteGroup(ChannelDatabase& db, std::size_t group, std::string_view name);
// Removes every entry of one side of the group; the other side keeps its own.
EditResult clearFavouriteGroup(ChannelDatabase& db, TableCopy copy, std::size_t group,
                               ChannelKind kind);

}  // namespace zoedit::edit
