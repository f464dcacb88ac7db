// The channel file being edited: its tables, their edit history, the file
// they are written to, and the order each list shows them in. Every change
// of the tables is made here, as one step of the history; the form's side
// (pages, lists, questions) only reads the tables and asks for changes.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>

#include "database/atomic_file.h"
#include "database/backup_store.h"
#include "database/channel_database.h"
#include "database/channel_file.h"
#include "edit/edit_history.h"
#include "edit/edit_operation.h"
#include "view/row_map.h"

namespace zoedit {

class ChannelDocument {
public:
    ChannelDocument() = default;
    ChannelDocument(const ChannelDocument&) = delete;
    ChannelDocument& operator=(const ChannelDocument&) = delete;

    const ChannelDatabase& database() const { return m_db; }
    const edit::EditHistory& history() const { return m_history; }
    // Which channel each row of a list shows; the lists' order is the view's
    // to choose, the tables stay as they are.
    const RowMap& rows(ChannelKind kind) const {
        return kind == ChannelKind::Tv ? m_tvRows : m_radioRows;
    }
    RowMap& rows(ChannelKind kind) { return kind == ChannelKind::Tv ? m_tvRows : m_radioRows; }
    bool isSorted() const { return m_tvRows.isSorted() || m_radioRows.isSorted(); }

    // The file the tables were read from and are saved to.
    const std::string& path() const { return m_path; }
    bool isAtSavedState() const { return m_history.isAtSavedState(); }

    // Reads the file at `source` as the document of `path` (a backup read
    // as the file it was taken of). A file that is refused changes nothing;
    // one that is read replaces the tables, starts a new history and shows
    // both lists in the file's order.
    LoadResult load(const std::string& path, const std::string& source);

    // One operation, or several as one named step, on the tables.
    edit::EditResult apply(const edit::EditOperation& operation, const edit::RowSelection& before,
                           const edit::RowSelection& after);
    edit::EditResult apply(std::span<const edit::EditOperation> operations, const std::string& name,
                           const edit::RowSelection& before, const edit::RowSelection& after);
    edit::EditResult undo(edit::RowSelection& selection);
    edit::EditResult redo(edit::RowSelection& selection);

    // Save: the operations are made on a copy, the copy is written, and only
    // a written file changes the tables (by the same step) and marks them
    // saved. A refused operation or a failed write changes nothing; the
    // result's message says why. The file records the band of the shown
    // channel's transponder, as the operations leave it.
    // The file replaced is kept in `backups` first; a backup that cannot be
    // made does not stop the save, and `warning` says so.
    struct SaveOutcome {
        bool ok = false;
        std::string message;
        std::string warning;
    };
    SaveOutcome save(std::span<const edit::EditOperation> operations, const std::string& name,
                     std::optional<ChannelRef> shown, const edit::RowSelection& before,
                     const edit::RowSelection& after, const BackupStore& backups);

private:
    ChannelDatabase m_db;
    edit::EditHistory m_history;
    RowMap m_tvRows{m_db, ChannelKind::Tv};
    RowMap m_radioRows{m_db, ChannelKind::Radio};
    std::string m_path;
};

}  // namespace zoedit
