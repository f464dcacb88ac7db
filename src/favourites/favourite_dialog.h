// CFavoriteDlg: the favourites dialog. It shows one side (TV or radio) of one
// of the first ten favourite groups at a time, renames the groups, empties a
// side of a group when its name is cleared, and reorders a group by dragging
// an entry in its list. Every change goes to the tables at once, as one step
// handed to the owner; what the main view must do afterwards (captions, its
// list, the file) it reads from the dialog once the dialog has ended.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "database/channel_database.h"
#include "database/codepage.h"
#include "edit/edit_operation.h"
#include "ui/dialogs.h"

namespace zoedit {

inline constexpr int kFavouriteDialogGroups = 10;
// Longest group name: the 24-byte field less its NUL.
inline constexpr int kGroupNameLength = static_cast<int>(kGroupNameSize) - 1;

// What the dialog keeps from one opening to the next in a run.
struct FavouriteDialogMemory {
    std::size_t group = 0;
};

// How the dialog changes the tables. `apply` takes the operations of one
// user action, which are one step of the edit history (clearing a group's
// name and emptying it is one step of two operations); `undo`, when there is
// a history, takes back its last step (false when it could not).
struct FavouriteEdits {
    std::function<edit::EditResult(std::span<const edit::EditOperation> step)> apply;
    std::function<bool()> undo;
};

class CFavoriteDlg final : public ui::ModalDialog {
public:
    CFavoriteDlg(const ChannelDatabase& db, CodePage page, ui::Dialogs& dialogs,
                 FavouriteDialogMemory& memory, FavouriteEdits edits);

    int dialogId() const override { return ui::IDD_FAVORITES; }
    void onInitDialog(ui::DialogHost& host) override;
    void onEvent(ui::DialogHost& host, const ui::ControlEvent& event) override;
    bool onKey(ui::DialogHost& host, ui::DialogKey key) override;
    void onClose(ui::DialogHost& host) override;

    // After the dialog. A drag was started: the main list and the file are due.
    bool modified() const { return m_modified; }
    // The side on show when the dialog ended.
    ChannelKind mode() const { return m_mode; }
    // Channel table index of the entry last moved by a drop.
    std::optional<std::size_t> draggedChannel() const { return m_draggedChannel; }
    // Steps handed to the owner, less those taken back.
    int stepsMade() const { return m_stepsMade; }

private:
    // Names.
    void showNames(ui::DialogHost& host);
    void beginNameEdit(ui::DialogHost& host, int k);
    void endNameEdit(ui::DialogHost& host, int k);
    std::string groupName(int k) const;
    // Groups and sides.
    void selectGroup(ui::DialogHost& host, int k);
    void switchMode(ui::DialogHost& host, ChannelKind mode);
    void fillList(ui::DialogHost& host, int k, ChannelKind kind);
    ui::ControlId visibleList() const;
    bool groupInFile(int k) const;
    std::size_t groupSize(int k, ChannelKind kind) const;
    // Drag (favourite_dialog_drag.cpp).
    void beginDrag(const ui::ControlEvent& event);
    void drop(ui::DialogHost& host, const ui::ControlEvent& event);
    void cancelDrag(ui::DialogHost& host);

    bool applyStep(std::span<const edit::EditOperation> step);
    bool undoStep(ui::DialogHost& host);
    void finish(ui::DialogHost& host, int result);

    const ChannelDatabase& m_db;
    CodePage m_page;
    ui::Dialogs& m_dialogs;
    FavouriteDialogMemory& m_memory;
    FavouriteEdits m_edits;

    ChannelKind m_mode = ChannelKind::Tv;
    int m_group = 0;
    std::optional<int> m_editing;  // the name edit that has the focus
    std::array<std::string, kFavouriteDialogGroups> m_backup;
    bool m_dragging = false;
    bool m_modified = false;
    bool m_ended = false;
    std::optional<std::size_t> m_draggedChannel;
    int m_stepsMade = 0;
};

}  // namespace zoedit
