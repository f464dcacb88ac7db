// The edit history: every change to the primary tables, whichever path made
// it, is one step that can be undone and redone. A step keeps only what it
// changed in each table (see table_change.h), never a copy of the database.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "database/channel_database.h"
#include "edit/edit_operation.h"

namespace zoedit::edit {

// The selected channel as undo and redo give it back: the active list and
// each list's selected row (-1 for none).
struct RowSelection {
    std::optional<ChannelKind> active;
    int tv_row = -1;
    int radio_row = -1;
    bool operator==(const RowSelection&) const = default;
};

// Older steps are given up when the history would hold more than this.
inline constexpr std::size_t kHistoryByteBudget = 64u << 20;

class EditHistory {
public:
    EditHistory();
    ~EditHistory();
    EditHistory(const EditHistory&) = delete;
    EditHistory& operator=(const EditHistory&) = delete;

    // Applies the operation to the primary tables and, when it changed
    // anything, records it as one step named for the operation. `before` is
    // the selection when the user started it, `after` where it lands.
    EditResult apply(ChannelDatabase& db, const EditOperation& operation,
                     const RowSelection& before = {}, const RowSelection& after = {});
    // Several operations as one step (the form's Save stores a satellite, a
    // transponder and a channel at once). When one is refused the earlier
    // ones are taken back and nothing is recorded.
    EditResult apply(ChannelDatabase& db, std::span<const EditOperation> operations,
                     const std::string& name, const RowSelection& before = {},
                     const RowSelection& after = {});
    // Any other change of the primary tables made by `change` (folding a
    // working copy back, for instance), recorded the same way.
    EditResult record(ChannelDatabase& db, const std::string& name,
                      const std::function<EditResult(ChannelDatabase&)>& change,
                      const RowSelection& before = {}, const RowSelection& after = {});

    bool canUndo() const { return position_ > 0; }
    bool canRedo() const { return position_ < steps_.size(); }
    // Names of the steps an undo and a redo would take ("Delete Channel");
    // empty when there is none.
    std::string undoName() const;
    std::string redoName() const;

    // The selection to restore comes back in `selection`.
    EditResult undo(ChannelDatabase& db, RowSelection& selection);
    EditResult redo(ChannelDatabase& db, RowSelection& selection);

    // The tables were saved, or a file opened (which also calls clear()).
    void markSaved() { saved_position_ = position_; }
    // Whether the tables hold what was last saved or opened.
    bool isAtSavedState() const { return saved_position_ == position_; }
    void clear();

    std::size_t stepCount() const { return steps_.size(); }
    // Bytes the steps hold, with the names and the bookkeeping.
    std::size_t heldBytes() const;

private:
    struct Step;
    struct Snapshot;

    void keepWithinBudget();

    std::deque<std::unique_ptr<Step>> steps_;
    std::size_t position_ = 0;  // steps below it are done, the rest undone
    std::optional<std::size_t> saved_position_ = 0;
    std::unique_ptr<Snapshot> scratch_;  // the tables before a change, reused
};

}  // namespace zoedit::edit
