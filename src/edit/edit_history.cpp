#include "edit/edit_history.h"

#include "edit/table_change.h"

namespace zoedit::edit {

using detail::TableChange;

// The primary tables as they stood before a change.
struct EditHistory::Snapshot {
    std::vector<SatelliteRecord> satellites;
    std::vector<TransponderRecord> transponders;
    std::vector<ChannelRecord> tv;
    std::vector<ChannelRecord> radio;
    std::vector<std::uint16_t> tv_members;
    std::vector<std::uint16_t> radio_members;
    std::vector<FavouriteGroup> groups;
    std::uint16_t group_count = 0;

    template <typename Record>
    static void take(std::vector<Record>& into, const DualTable<Record>& table) {
        into.assign(table.primary.begin(),
                    table.primary.begin() + static_cast<std::ptrdiff_t>(table.count));
    }
    void take(const ChannelDatabase& db) {
        take(satellites, db.satellites);
        take(transponders, db.transponders);
        take(tv, db.tv);
        take(radio, db.radio);
        take(tv_members, db.favourites.tv_members);
        take(radio_members, db.favourites.radio_members);
        groups = db.favourites.groups;
        group_count = db.general.favourite_group_count;
    }
};

namespace {

template <typename Record>
std::span<const Record> rowsBelowCount(const DualTable<Record>& table) {
    return {table.primary.data(), table.count};
}

}  // namespace

struct EditHistory::Step {
    Step(std::string step_name, const Snapshot& was, const ChannelDatabase& db)
        : name(std::move(step_name)),
          satellites(was.satellites, rowsBelowCount(db.satellites)),
          transponders(was.transponders, rowsBelowCount(db.transponders)),
          tv(was.tv, rowsBelowCount(db.tv)),
          radio(was.radio, rowsBelowCount(db.radio)),
          tv_members(was.tv_members, rowsBelowCount(db.favourites.tv_members)),
          radio_members(was.radio_members, rowsBelowCount(db.favourites.radio_members)),
          groups(was.groups, db.favourites.groups),
          group_count_before(was.group_count),
          group_count_after(db.general.favourite_group_count) {}

    bool empty() const {
        return satellites.empty() && transponders.empty() && tv.empty() && radio.empty() &&
               tv_members.empty() && radio_members.empty() && groups.empty() &&
               group_count_before == group_count_after;
    }
    std::size_t heldBytes() const {
        return sizeof(*this) + name.capacity() + satellites.heldBytes() + transponders.heldBytes() +
               tv.heldBytes() + radio.heldBytes() + tv_members.heldBytes() +
               radio_members.heldBytes() + groups.heldBytes();
    }
    // Undo (back) or redo (forward) in every table.
    void replay(ChannelDatabase& db, bool back) const {
        const auto one = [back](const auto& change, auto& table) {
            if (back)
                change.undo(table.primary, table.count);
            else
                change.redo(table.primary, table.count);
        };
        one(satellites, db.satellites);
        one(transponders, db.transponders);
        one(tv, db.tv);
        one(radio, db.radio);
        one(tv_members, db.favourites.tv_members);
        one(radio_members, db.favourites.radio_members);
        std::size_t group_count = db.favourites.groups.size();
        if (back)
            groups.undo(db.favourites.groups, group_count);
        else
            groups.redo(db.favourites.groups, group_count);
        db.general.favourite_group_count = back ? group_count_before : group_count_after;
    }

    std::string name;
    RowSelection before;
    RowSelection after;
    TableChange<SatelliteRecord> satellites;
    TableChange<TransponderRecord> transponders;
    TableChange<ChannelRecord> tv;
    TableChange<ChannelRecord> radio;
    TableChange<std::uint16_t> tv_members;
    TableChange<std::uint16_t> radio_members;
    TableChange<FavouriteGroup> groups;
    // Applying another list's order can change how many groups there are.
    std::uint16_t group_count_before;
    std::uint16_t group_count_after;
};

EditHistory::EditHistory() : scratch_(std::make_unique<Snapshot>()) {}
EditHistory::~EditHistory() = default;

EditResult EditHistory::apply(ChannelDatabase& db, const EditOperation& operation,
                              const RowSelection& before, const RowSelection& after) {
    return apply(db, std::span<const EditOperation>(&operation, 1), operationName(operation),
                 before, after);
}

EditResult EditHistory::apply(ChannelDatabase& db, std::span<const EditOperation> operations,
                              const std::string& name, const RowSelection& before,
                              const RowSelection& after) {
    return record(
        db, name,
        [operations](ChannelDatabase& tables) {
            for (const EditOperation& operation : operations) {
                EditResult result = applyOperation(tables, TableCopy::Primary, operation);
                if (!result.ok()) return result;
            }
            return EditResult::done();
        },
        before, after);
}

EditResult EditHistory::record(ChannelDatabase& db, const std::string& name,
                               const std::function<EditResult(ChannelDatabase&)>& change,
                               const RowSelection& before, const RowSelection& after) {
    scratch_->take(db);
    EditResult result = change(db);
    auto step = std::make_unique<Step>(name, *scratch_, db);
    if (!result.ok()) {
        step->replay(db, true);  // a batch refused half-way leaves nothing behind
        return result;
    }
    if (step->empty()) return result;
    step->before = before;
    step->after = after;
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(position_), steps_.end());
    if (saved_position_ && *saved_position_ > position_) saved_position_.reset();
    steps_.push_back(std::move(step));
    ++position_;
    keepWithinBudget();
    return result;
}

std::string EditHistory::undoName() const {
    return canUndo() ? steps_[position_ - 1]->name : std::string();
}

std::string EditHistory::redoName() const {
    return canRedo() ? steps_[position_]->name : std::string();
}

EditResult EditHistory::undo(ChannelDatabase& db, RowSelection& selection) {
    if (!canUndo())
        return EditResult::refused(EditOutcome::NothingToUndo, "There is nothing to undo.");
    const Step& step = *steps_[--position_];
    step.replay(db, true);
    selection = step.before;
    return EditResult::done();
}

EditResult EditHistory::redo(ChannelDatabase& db, RowSelection& selection) {
    if (!canRedo())
        return EditResult::refused(EditOutcome::NothingToRedo, "There is nothing to redo.");
    const Step& step = *steps_[position_++];
    step.replay(db, false);
    selection = step.after;
    return EditResult::done();
}

void EditHistory::clear() {
    steps_.clear();
    position_ = 0;
    saved_position_ = 0;
}

std::size_t EditHistory::heldBytes() const {
    std::size_t bytes = sizeof(*this);
    for (const auto& step : steps_) bytes += sizeof(step) + step->heldBytes();
    return bytes;
}

void EditHistory::keepWithinBudget() {
    std::size_t bytes = heldBytes();
    while (steps_.size() > 1 && bytes > kHistoryByteBudget) {
        bytes -= sizeof(steps_.front()) + steps_.front()->heldBytes();
        steps_.pop_front();
        --position_;
        if (saved_position_) {
            if (*saved_position_ == 0)
                saved_position_.reset();  // the saved state can no longer be reached
            else
                --*saved_position_;
        }
    }
}

}  // namespace zoedit::edit
