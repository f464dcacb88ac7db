// The form's events and the commands of the menus, the toolbar, the keys and
// the buttons: each goes to the handler that does what the user asked, and
// the menus ask here whether a command acts now.
#include "view/zoedit_view.h"

namespace zoedit {

using namespace ui::form;

// The favourite boxes change the groups at once, even outside edit mode.
// Typing on the pages is measured against what they showed, not noted here.
void CZoEditView::NoteUserChange(const ui::ControlEvent& event) {
    if (!m_state.m_bLoaded) return;
    for (ui::ControlId id : IDC_FAVOURITE_CHECK)
        if (event.kind == ui::EventKind::Clicked && id == event.id) m_state.m_bModified = true;
}

void CZoEditView::onEvent(const ui::ControlEvent& event) {
    NoteUserChange(event);
    switch (event.kind) {
        case ui::EventKind::SelChange:
            if (event.id == IDC_TAB) OnTabSelChange(m_platform.form.selectedIndex(IDC_TAB));
            return;
        case ui::EventKind::ItemChanged:
            if (event.id == IDC_TV_LIST) OnItemChanged(ChannelKind::Tv, event.item);
            if (event.id == IDC_RADIO_LIST) OnItemChanged(ChannelKind::Radio, event.item);
            return;
        case ui::EventKind::RightClick:
            if (const auto kind = listKindOf(event.id))
                m_listOps.OnContextMenu(*kind, event.x, event.y);
            return;
        case ui::EventKind::ColumnClick:
            if (const auto kind = listKindOf(event.id); kind && ResolveTyping())
                m_listOps.OnColumnClick(*kind, event.item);
            return;
        case ui::EventKind::BeginDrag:
            if (const auto kind = listKindOf(event.id); kind && ResolveTyping())
                m_listOps.OnBeginDrag(*kind, event.item);
            return;
        case ui::EventKind::ButtonUp:
            if (const auto kind = listKindOf(event.id)) m_listOps.OnDrop(*kind, event.item);
            return;
        case ui::EventKind::DragEnd:
            m_listOps.OnDragEnd();
            return;
        case ui::EventKind::ItemClick:
            // A click outside the rows leaves no row selected; the active
            // list follows the selection change the click causes, not the click.
            if (const auto kind = listKindOf(event.id)) {
                const Row row(event.item);
                if (row != m_state.selectedRowOf(*kind) && !ResolveTyping()) {
                    RestoreListSelection(*kind, row);
                    return;
                }
                m_state.selectedRowOf(*kind) = row;
            }
            return;
        case ui::EventKind::Clicked:
            if (event.id == IDC_PID_MODE) return OnPidMode();
            for (int k = 0; k < kFavouriteBoxCount; ++k)
                if (event.id == IDC_FAVOURITE_CHECK[k]) return OnFavouriteClicked(k);
            if (event.id == IDC_LOCKED) return OnLockClicked();
            // A disabled button's key (Ctrl+N, Ctrl+S, Ctrl+D) does nothing;
            // the buttons themselves are never clicked while disabled.
            if (isCommandAvailable(event.id)) onCommand(event.id);
            return;
        default:
            return;
    }
}

bool CZoEditView::onCommand(int id) {
    switch (id) {
        case ui::cmd::ID_FILE_OPEN:
            OnFileOpen();
            return true;
        case IDC_FILL_TV:
            FillList(ChannelKind::Tv);
            return true;
        case IDC_FILL_RADIO:
            FillList(ChannelKind::Radio);
            return true;
        case IDC_TV_SWITCH:
        case ui::cmd::ID_VIEW_TV:
        case IDC_RADIO_SWITCH:
        case ui::cmd::ID_VIEW_RADIO: {
            const bool tv = id == IDC_TV_SWITCH || id == ui::cmd::ID_VIEW_TV;
            if (ResolveTyping()) {
                ShowList(tv ? ChannelKind::Tv : ChannelKind::Radio);
            } else {
                // The switches show the list the pages still belong to.
                const bool tv_shown = m_state.m_shownList != ActiveList::Radio;
                m_platform.form.setChecked(IDC_TV_SWITCH, tv_shown);
                m_platform.form.setChecked(IDC_RADIO_SWITCH, !tv_shown);
            }
            return true;
        }
        case IDC_EDIT:
            OnEdit();
            return true;
        case ui::cmd::ID_VIEW_FAVOURITES:
            if (ResolveTyping()) OnFavourites();
            return true;
        case IDC_SAVE:
        case ui::cmd::ID_FILE_SAVE:
            if (isCommandAvailable(id)) Save();
            return true;
        case IDC_CANCEL:
            if (isCommandAvailable(id)) OnCancel();
            return true;
        case IDC_NEW:
        case ui::cmd::ID_EDIT_NEW:
            if (isCommandAvailable(id)) OnNew();
            return true;
        case IDC_DELETE:
        case ui::cmd::ID_EDIT_DELETE:
            if (isCommandAvailable(id)) OnDelete();
            return true;
        case IDC_SEARCH:
            if (isCommandAvailable(id)) OnSearch();
            return true;
        case ui::cmd::ID_EDIT_CUT_CHANNEL:
            m_listOps.OnCut();
            return true;
        case ui::cmd::ID_EDIT_PASTE_CHANNEL:
            m_listOps.OnPaste();
            return true;
        case ui::cmd::ID_EDIT_KEEP_ORDER:
            m_listOps.OnKeepOrder();
            return true;
        case ui::cmd::ID_FILE_APPLY_ORDER:
            OnApplyOrder();
            return true;
        case ui::cmd::ID_FILE_COMPARE:
            OnCompare();
            return true;
        default:
            return false;
    }
}

// Whether a button, or a key or menu command standing for one, acts now: a
// key does what its button would do, and nothing while the button is off.
bool CZoEditView::isCommandAvailable(int id) const {
    ui::Form& form = m_platform.form;
    switch (id) {
        case IDC_SAVE:
        case IDC_NEW:
        case IDC_DELETE:
        case IDC_CANCEL:
        case IDC_EDIT:
        case IDC_SEARCH:
            return form.isEnabled(id);
        case ui::cmd::ID_FILE_SAVE:
            return form.isEnabled(IDC_SAVE);
        case ui::cmd::ID_EDIT_NEW:
            return form.isEnabled(IDC_NEW);
        case ui::cmd::ID_EDIT_DELETE:
            return form.isEnabled(IDC_DELETE);
        default:
            return true;
    }
}

bool CZoEditView::isCommandEnabled(int id) const {
    const EditorState& s = m_state;
    switch (id) {
        // The dialog changes the groups by channel index: a cut or a sorted
        // order would have it show and change other channels than the rows;
        // nothing else changes the groups while a New waits for Save or Cancel,
        // or while a row is being dragged.
        case ui::cmd::ID_VIEW_FAVOURITES:
            return s.m_bLoaded && !s.hasPendingChange() && !isSorted();
        // A New, a cut or a drag waits on rows the step would move; a sorted
        // list, like Undo, would have its rows show other channels after it.
        case ui::cmd::ID_FILE_APPLY_ORDER:
            return s.m_bLoaded && !s.hasPendingChange() && !isSorted();
        case ui::cmd::ID_FILE_COMPARE:
            return s.m_bLoaded && !s.hasPendingChange();
        case ui::cmd::ID_EDIT_KEEP_ORDER: {
            const auto kind = activeKind();
            return s.m_bEditing && !s.hasPendingChange() && kind && rows(*kind).isSorted();
        }
        case ui::cmd::ID_VIEW_TV:
        case ui::cmd::ID_VIEW_RADIO:
        case ui::cmd::ID_FILE_PRINT:
        case ui::cmd::ID_FILE_PRINT_PREVIEW:
        case ui::cmd::ID_FILE_PRINT_SETUP:
            return s.m_bLoaded;
        // The menu's New, Save and Delete follow their buttons, which are on
        // only in edit mode and off while a New, a cut or a sort waits.
        case ui::cmd::ID_EDIT_NEW:
        case ui::cmd::ID_FILE_SAVE:
        case ui::cmd::ID_EDIT_DELETE:
            return s.m_bEditing && isCommandAvailable(id);
        case ui::cmd::ID_EDIT_CUT_CHANNEL:
            return s.m_bEditing && !s.hasPendingChange() && !isSorted();
        case ui::cmd::ID_EDIT_PASTE_CHANNEL:
            return s.m_bEditing && s.isCutPending();
        default:
            return true;
    }
}

bool CZoEditView::isCommandChecked(int /*id*/) const {
    return false;
}

}  // namespace zoedit
