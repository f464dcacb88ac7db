// What every edit operation answers: an outcome the caller can branch on and
// the sentence to show the user when the operation was refused. A refused
// operation leaves the database exactly as it was.
#pragma once

#include <string>

namespace zoedit::edit {

// The copy of the tables an operation works on: the primary tables, or the
// working copy that new-record mode, sorted mode and a pending cut edit.
// Record counts and favourite group counts exist once and are shared.
enum class TableCopy { Primary, Working };

enum class EditOutcome {
    Done,
    NoSuchRecord,    // an index or position outside its table or group
    InvalidValue,    // a field value the data model does not allow
    AtCapacity,      // the table or member list is full
    AlreadyInGroup,  // the channel stands in the favourite group already
    NotInGroup,      // the channel does not stand in the favourite group
    NothingToUndo,
    NothingToRedo,
};

struct EditResult {
    EditOutcome outcome = EditOutcome::Done;
    std::string message;  // empty when Done

    bool ok() const { return outcome == EditOutcome::Done; }
    static EditResult done() { return {}; }
    static EditResult refused(EditOutcome outcome, std::string message) {
        return {outcome, std::move(message)};
    }
};

}  // namespace zoedit::edit
