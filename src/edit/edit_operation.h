// One edit operation as a value: what the edit history records as a step and
// what the command line parses. Applying it calls the function of
// edit_operations.h with the same name.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "edit/edit_operations.h"

namespace zoedit::edit {

struct SetSatelliteFields {
    std::size_t satellite;
    SatelliteRecord values;
};
struct SetTransponderFields {
    std::size_t transponder;
    TransponderRecord values;
};
struct SetChannelFields {
    ChannelKind kind;
    std::size_t row;
    ChannelRecord values;
};
struct SetChannelLock {
    ChannelKind kind;
    std::size_t row;
    bool locked;
};
struct InsertChannel {
    ChannelKind kind;
    std::size_t row;
    ChannelRecord record;
};
struct InsertTransponder {
    std::size_t transponder;
    ChannelKind kind;
    std::size_t row;
};
struct InsertSatellite {
    ChannelKind kind;
    SatelliteRecord satellite;
    TransponderRecord transponder;
    ChannelRecord channel;
};
struct DeleteChannel {
    ChannelKind kind;
    std::size_t row;
};
struct DeleteTransponder {
    std::size_t transponder;
};
struct DeleteSatellite {
    std::size_t satellite;
};
struct MoveChannel {
    ChannelKind kind;
    std::size_t from;
    std::size_t to;
};
struct ReorderChannels {
    ChannelKind kind;
    std::vector<std::size_t> order;
};
struct ApplyOrder {
    ChannelOrderPlan plan;
};
struct AddFavourite {
    std::size_t group;
    ChannelKind kind;
    std::size_t channel;
    std::optional<std::size_t> position;
};
struct RemoveFavourite {
    std::size_t group;
    ChannelKind kind;
    std::size_t channel;
    std::optional<std::size_t> position;
};
struct MoveFavourite {
    std::size_t group;
    ChannelKind kind;
    std::size_t from;
    std::size_t to;
};
struct RenameFavouriteGroup {
    std::size_t group;
    std::string name;
};
struct ClearFavouriteGroup {
    std::size_t group;
    ChannelKind kind;
};

using EditOperation =
    std::variant<SetSatelliteFields, SetTransponderFields, SetChannelFields, SetChannelLock,
                 InsertChannel, InsertTransponder, InsertSatellite, DeleteChannel,
                 DeleteTransponder, DeleteSatellite, MoveChannel, ReorderChannels, ApplyOrder,
                 AddFavourite, RemoveFavourite, MoveFavourite, RenameFavouriteGroup,
                 ClearFavouriteGroup>;

EditResult applyOperation(ChannelDatabase& db, TableCopy copy, const EditOperation& operation);

// The step's name as the Edit menu shows it after "Undo " and "Redo ",
// e.g. "Delete Channel".
std::string operationName(const EditOperation& operation);

}  // namespace zoedit::edit
