#include "edit/edit_operation.h"

namespace zoedit::edit {
namespace {

template <typename... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <typename... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

}  // namespace

EditResult applyOperation(ChannelDatabase& db, TableCopy copy, const EditOperation& operation) {
    return std::visit(
        Overloaded{
            [&](const SetSatelliteFields& o) {
                return setSatelliteFields(db, copy, o.satellite, o.values);
            },
            [&](const SetTransponderFields& o) {
                return setTransponderFields(db, copy, o.transponder, o.values);
            },
            [&](const SetChannelFields& o) {
                return setChannelFields(db, copy, o.kind, o.row, o.values);
            },
            [&](const SetChannelLock& o) {
                return setChannelLock(db, copy, o.kind, o.row, o.locked);
            },
            [&](const InsertChannel& o) {
                return insertChannel(db, copy, o.kind, o.row, o.record);
            },
            [&](const InsertTransponder& o) {
                return insertTransponder(db, copy, o.transponder, o.kind, o.row);
            },
            [&](const InsertSatellite& o) {
                return insertSatellite(db, copy, o.kind, o.satellite, o.transponder, o.channel);
            },
            [&](const DeleteChannel& o) { return deleteChannel(db, copy, o.kind, o.row); },
            [&](const DeleteTransponder& o) { return deleteTransponder(db, copy, o.transponder); },
            [&](const DeleteSatellite& o) { return deleteSatellite(db, copy, o.satellite); },
            [&](const MoveChannel& o) { return moveChannel(db, copy, o.kind, o.from, o.to); },
            [&](const ReorderChannels& o) { return reorderChannels(db, copy, o.kind, o.order); },
            [&](const ApplyOrder& o) { return applyOrder(db, copy, o.plan); },
            [&](const AddFavourite& o) {
                return addFavourite(db, copy, o.group, o.kind, o.channel, o.position);
            },
            [&](const RemoveFavourite& o) {
                return removeFavourite(db, copy, o.group, o.kind, o.channel, o.position);
            },
            [&](const MoveFavourite& o) {
                return moveFavourite(db, copy, o.group, o.kind, o.from, o.to);
            },
            [&](const RenameFavouriteGroup& o) {
                return renameFavouriteGroup(db, o.group, o.name);
            },
            [&](const ClearFavouriteGroup& o) {
                return clearFavouriteGroup(db, copy, o.group, o.kind);
            },
        },
        operation);
}

std::string operationName(const EditOperation& operation) {
    return std::visit(
        Overloaded{
            [](const SetSatelliteFields&) { return "Edit Satellite"; },
            [](const SetTransponderFields&) { return "Edit Transponder"; },
            [](const SetChannelFields&) { return "Edit Channel"; },
            [](const SetChannelLock& o) { return o.locked ? "Lock Channel" : "Unlock Channel"; },
            [](const InsertChannel&) { return "New Channel"; },
            [](const InsertTransponder&) { return "New Transponder"; },
            [](const InsertSatellite&) { return "New Satellite"; },
            [](const DeleteChannel&) { return "Delete Channel"; },
            [](const DeleteTransponder&) { return "Delete Transponder"; },
            [](const DeleteSatellite&) { return "Delete Satellite"; },
            [](const MoveChannel&) { return "Move Channel"; },
            [](const ReorderChannels&) { return "Keep This Order"; },
            [](const ApplyOrder&) { return "Apply Order"; },
            [](const AddFavourite&) { return "Add Favourite"; },
            [](const RemoveFavourite&) { return "Remove Favourite"; },
            [](const MoveFavourite&) { return "Move Favourite"; },
            [](const RenameFavouriteGroup&) { return "Rename Favourite Group"; },
            [](const ClearFavouriteGroup&) { return "Empty Favourite Group"; },
        },
        operation);
}

}  // namespace zoedit::edit
