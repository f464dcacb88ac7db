// CZoEditView: the main form's behaviour. It owns the channel database and
// the editor state for the whole run and drives the form through the
// platform layer; the window system only forwards events to it. It is a
// coordinator: the favourite boxes, the lock, the search, the delete
// questions, the buttons' table and the form commit each live in a class or
// file of their own (favourite_boxes.h, parental_lock.h, channel_search.h,
// record_delete.h, edit_buttons.h, form_commit.h); the view runs them in the
// order a command needs and refreshes the lists after them.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "database/backup_store.h"
#include "database/channel_database.h"
#include "database/codepage.h"
#include "edit/edit_history.h"
#include "edit/edit_operation.h"
#include "favourites/favourite_dialog.h"
#include "ui/platform.h"
#include "view/channel_document.h"
#include "view/editor_state.h"
#include "view/favourite_boxes.h"
#include "view/list_operations.h"
#include "view/parental_lock.h"
#include "view/row_map.h"

namespace zoedit {

// Work that other parts of the program attach to the view's start-up.
struct ViewHooks {
    // Reads the port settings (config.ini) while the view is constructed.
    std::function<void()> read_settings;
    // The port command, run once at the end of the initial update.
    std::function<void()> port_command;
    // Hands the application's name and the document's title to printing.
    std::function<void(const std::string& app_name, const std::string& doc_title)> print_titles;
    // Whether the serial port is open (the check mark of the port command).
    std::function<bool()> port_open;
    // The print source changes to the list of this kind.
    std::function<void(ChannelKind kind)> print_source;
};

class CZoEditView final : public ListOperationsHost {
public:
    explicit CZoEditView(ui::Platform platform, ViewHooks hooks = {});

    // The framework's initial update: builds the pages and lists in their
    // empty, read-only state and runs the port command.
    void OnInitialUpdate();

    // A control of the form reports a user action.
    void onEvent(const ui::ControlEvent& event);
    // A menu, toolbar or accelerator command (also the four form-button keys,
    // which carry the button's identifier). Returns false when nothing
    // handles the command.
    bool onCommand(int id);
    // Whether a menu command is enabled now (the menu's update handlers).
    bool isCommandEnabled(int id) const;
    // Check mark of a menu command.
    bool isCommandChecked(int id) const;

    // Open with the file dialog, or with a path known beforehand (command line).
    void OnFileOpen();
    void OpenPath(const std::string& path);
    // The current file read again from the disk, or the bytes of `source` (a
    // backup) shown as the current file's document in edit mode with unsaved
    // changes, so that the next Save puts them in place. Neither asks.
    void ReloadDocument() { LoadPath(m_doc.path()); }
    bool OpenDocumentFrom(const std::string& source);
    // Where Save keeps a copy of the file it replaces (none until set).
    void setBackups(BackupStore store) { m_backups = std::move(store); }
    const BackupStore& backups() const { return m_backups; }

    // Save button 1041, Ctrl+S, File Save and the save questions. In edit
    // mode the pages are committed first (a pending New inserts its records),
    // as one step; then the tables are written to the current path and the
    // lists refilled. False (after telling the user) when a value is refused,
    // the write fails or nothing is loaded.
    bool Save();
    // Whether closing or opening another file should offer to save: in edit
    // mode before the first save, whenever the records changed since the
    // last save or load (also the favourite boxes, which work outside edit
    // mode), and while the pages hold typing.
    bool hasUnsavedEdits() const {
        return (m_state.m_bEditing && !m_state.m_bSaved) || hasChangesBesidesTyping() ||
               hasTyping();
    }
    // Whether the pages hold typing that Save has not committed: an entry
    // differs from what the page showed for its record, or a New waits.
    bool hasTyping() const;
    // Before the pages leave the record they show (another row or list, a
    // sort, a code-page switch, undo and redo): with typing on them, asks
    // "Save the changes to this record?". Yes commits and saves, No drops
    // the typing, Cancel stays. True when the caller may go on.
    bool ResolveTyping() override { return SettleTyping() != TypingSettled::Stayed; }
    // The same question, telling what became of the typing.
    enum class TypingSettled { NoTyping, Saved, Dropped, Stayed };
    TypingSettled SettleTyping();
    // Before Open and Close: one question, the record's when typing is all
    // that is unsaved, else "Save changes to the All Data Channels?" with
    // Yes, No and Cancel. True when the file may be left.
    enum class LeaveFile { Open, Close };
    bool QueryLeaveFile(LeaveFile reason);

    // Tab control 1044.
    void OnTabSelChange(int page);
    // The selection handler of the TV and the radio list.
    void OnItemChanged(ChannelKind kind, Row row);
    void OnItemChanged(ChannelKind kind, int row) { OnItemChanged(kind, Row(row)); }
    // Refill a list through its row map (commands 1046 and 1047).
    void FillList(ChannelKind kind) override;
    // The TV and radio switches (1128/32789 and 1129/32790).
    void ShowList(ChannelKind kind);
    // Edit button 1040.
    void OnEdit();
    // Command 32788: the favourites dialog, and the main view brought up to
    // date with what it changed.
    void OnFavourites();
    // File menu "Apply Order From..." and "Compare With..." (view_order.cpp).
    void OnApplyOrder();
    void OnCompare();
    // Shows the channel's list with the row that shows the channel selected.
    void SelectChannel(ChannelRef channel);
    // Cancel button 1043.
    void OnCancel();
    // New button 1069, menu command 32812, Ctrl+N.
    void OnNew() override;
    // Delete button 1042, menu command 32776, Ctrl+D.
    void OnDelete();
    // Favourite box k (0..9) and the lock box were clicked.
    void OnFavouriteClicked(int k);
    void OnLockClicked();
    // Search button 1009 and Ctrl+F.
    void OnSearch();
    // After the records changed: both lists refilled through their row maps,
    // each keeping its selected row (within the list), the transponder
    // selector and the favourite captions rebuilt, and the pages showing the
    // active list's selected channel, its transponder and its satellite.
    // Keep leaves the page texts alone (see PageRefresh).
    void ShowRecords(PageRefresh pages = PageRefresh::Show) override;
    // ShowRecords, with the active list focused and its selected row in
    // view; after a delete the last row's selection moves up one row.
    void RefreshAndReselect(bool row_deleted = false) override;

    // The row map of a list: which channel each row shows.
    const RowMap& rows(ChannelKind kind) const { return m_doc.rows(kind); }
    RowMap& rows(ChannelKind kind) override { return m_doc.rows(kind); }
    // Whether either list shows a column-sort order.
    bool isSorted() const override { return m_doc.isSorted(); }
    // The channel the active list's selected row shows, and the records the
    // other two pages show: that channel's transponder and its satellite.
    // Nothing when no channel is selected or a link points outside a table.
    std::optional<ChannelRef> selectedChannel() const override;
    std::optional<ChannelIndex> selectedChannel(ChannelKind kind) const override;
    std::optional<std::size_t> currentTransponder() const;
    std::optional<std::size_t> currentSatellite() const;

    // Form variables <-> controls. Reading back stops at the first text that
    // is longer than its field allows and tells the user; returns false then.
    void UpdateDataToForm();
    bool UpdateDataFromForm();

    // Names are bytes in the file; they are shown through this code page.
    // Changing it shows every name again: the lists keep their selection and
    // the pages show the selected record again unless the user is editing.
    // False, changing nothing, when the user chose to stay with typing.
    bool setCodePage(CodePage page);
    CodePage codePage() const override { return m_codePage; }

    const ChannelDatabase& database() const override { return m_doc.database(); }
    // The file, its tables and their history: every change goes through it.
    ChannelDocument& document() { return m_doc; }
    const ChannelDocument& document() const { return m_doc; }
    EditorState& state() override { return m_state; }
    const EditorState& state() const { return m_state; }
    FormValues& values() { return m_values; }
    std::array<FavouriteBox, kFavouriteBoxCount>& favouriteBoxes() {
        return m_favouriteBoxes.boxes();
    }
    const std::string& currentPath() const { return m_doc.path(); }
    ui::Platform& platform() override { return m_platform; }
    // Every change of the records is one step here.
    const edit::EditHistory& history() const { return m_doc.history(); }

    // A cut or a sorted order is over: New and Delete are on again unless a
    // list is still sorted.
    void ListChangeDone() override;
    // The selection as undo and redo give it back.
    edit::RowSelection rowSelection() const override;
    // Applies one operation to the primary tables as one step of the
    // history; a refusal is shown to the user. The caller refreshes the lists.
    edit::EditResult ApplyEdit(const edit::EditOperation& operation,
                               const edit::RowSelection& after) override;

private:
    bool PrepareOpen();
    bool hasChangesBesidesTyping() const { return m_state.m_bModified || !m_doc.isAtSavedState(); }
    FormValues readForm() const;
    void NoteShown();
    void DropTyping();
    void RestoreListSelection(ChannelKind clicked, Row clicked_row);
    bool RefuseUnfitValue(bool new_satellite);
    // Reads `source` (the file at `path` when empty) as the document of
    // `path`; false when it was refused.
    bool LoadPath(const std::string& path, const std::string& source = {});
    void NoteUserChange(const ui::ControlEvent& event);
    void EnterReadOnlyState();
    void ShowPageControls(int page);
    void SetupLists();
    void ClearChannelFlags();
    void FillTransponderSelector();
    void SelectRow(ChannelKind kind, Row row);
    void ShowChannel(const ChannelRecord& channel, ChannelIndex index);
    void ShowTransponder(std::optional<std::size_t> transponder);
    void ShowSatellite(std::optional<std::size_t> satellite);
    void ShowNoChannel();
    void ShowSelectedRecords();
    std::vector<edit::EditOperation> PageCommit() const;
    std::vector<edit::EditOperation> PendingNewOperations(const NewRecordPending& pending,
                                                          ChannelIndex& landed) const;
    bool isCommandAvailable(int id) const;
    std::optional<ChannelKind> activeKind() const;
    static std::optional<ChannelKind> listKindOf(ui::ControlId id);
    void OnPidMode();
    std::string display(std::string_view bytes) const;
    void setComboText(ui::ControlId id, const std::string& text);
    ui::ListControl* listOf(ChannelKind kind);
    void messageBox(const std::string& text);

    ui::Platform m_platform;
    ViewHooks m_hooks;
    CodePage m_codePage = CodePage::Windows1256;
    ChannelDocument m_doc;
    EditorState m_state;
    FormValues m_values;
    // The page entries as the pages last showed them; typing is what differs.
    FormValues m_shown;
    bool m_askingAboutTyping = false;
    FavouriteBoxes m_favouriteBoxes{m_platform.form, m_doc.database()};
    ParentalLock m_lock{m_platform.form};
    CListOperations m_listOps{*this};
    FavouriteDialogMemory m_favouriteDialog;
    BackupStore m_backups;
};

}  // namespace zoedit
