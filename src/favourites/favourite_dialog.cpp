#include "favourites/favourite_dialog.h"

#include "database/field_format.h"

namespace zoedit {

using namespace ui::favourites;

namespace {

constexpr char kClearNameQuestion[] =
    "Input the Favorite Name, or Related channel will be deleted, proceed saving?";

// Index of `id` in one of the dialog's ten-control rows, or -1.
int indexIn(const ui::ControlId (&ids)[kFavouriteDialogGroups], ui::ControlId id) {
    for (int k = 0; k < kFavouriteDialogGroups; ++k)
        if (ids[k] == id) return k;
    return -1;
}

ui::ControlId listId(int k, ChannelKind kind) {
    return kind == ChannelKind::Tv ? IDC_TV_LIST[k] : IDC_RADIO_LIST[k];
}

}  // namespace

CFavoriteDlg::CFavoriteDlg(const ChannelDatabase& db, CodePage page, ui::Dialogs& dialogs,
                           FavouriteDialogMemory& memory, FavouriteEdits edits)
    : m_db(db), m_page(page), m_dialogs(dialogs), m_memory(memory), m_edits(std::move(edits)) {}

void CFavoriteDlg::onInitDialog(ui::DialogHost& host) {
    ui::Form& form = host.form();
    for (int k = 0; k < kFavouriteDialogGroups; ++k) {
        const bool in_file = groupInFile(k);
        form.setReadOnly(IDC_GROUP_NAME[k], true);
        form.setInputLimit(IDC_GROUP_NAME[k], kGroupNameLength);
        // A group the file does not hold has nothing to show and no name to keep.
        form.setEnabled(IDC_GROUP_NAME[k], in_file);
        form.setEnabled(IDC_GROUP_SELECTOR[k], in_file);
        for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio}) {
            ui::ListControl* list = form.list(listId(k, kind));
            if (!list) continue;
            if (list->columnCount() == 0) {
                list->insertColumn(0, {"No", 30});
                list->insertColumn(1, {"Channel Name", 186});
            }
            list->setListStyle(true);
            // One entry moves at a time, in the list as in the group.
            list->setSingleSelection(true);
        }
    }
    showNames(host);
    form.setVisible(IDC_CANCEL, false);
    m_mode = ChannelKind::Tv;
    form.setChecked(IDC_TV_MODE, true);
    form.setChecked(IDC_RADIO_MODE, false);
    form.setVisible(IDC_TV_LABEL, true);
    form.setVisible(IDC_RADIO_LABEL, false);
    const int remembered = static_cast<int>(m_memory.group);
    selectGroup(host,
                remembered < kFavouriteDialogGroups && groupInFile(remembered) ? remembered : 0);
}

void CFavoriteDlg::onEvent(ui::DialogHost& host, const ui::ControlEvent& event) {
    if (m_ended) return;
    switch (event.kind) {
        case ui::EventKind::Clicked:
            if (event.id == IDC_TV_MODE) return switchMode(host, ChannelKind::Tv);
            if (event.id == IDC_RADIO_MODE) return switchMode(host, ChannelKind::Radio);
            if (event.id == IDC_SAVE) return finish(host, ui::IDOK);
            if (const int k = indexIn(IDC_GROUP_SELECTOR, event.id); k >= 0 && groupInFile(k))
                return selectGroup(host, k);
            return;
        case ui::EventKind::SetFocus:
            if (const int k = indexIn(IDC_GROUP_NAME, event.id); k >= 0) beginNameEdit(host, k);
            return;
        case ui::EventKind::KillFocus:
            if (const int k = indexIn(IDC_GROUP_NAME, event.id); k >= 0) endNameEdit(host, k);
            return;
        case ui::EventKind::BeginDrag:
            return beginDrag(event);
        case ui::EventKind::Drop:
            return drop(host, event);
        case ui::EventKind::DragCancel:
            return cancelDrag(host);
        default:
            return;
    }
}

bool CFavoriteDlg::onKey(ui::DialogHost& host, ui::DialogKey key) {
    if (m_ended) return true;
    switch (key) {
        case ui::DialogKey::Enter:
        case ui::DialogKey::Escape:
            // Neither closes the dialog; during a drag either cancels it.
            if (m_dragging) cancelDrag(host);
            return true;
        case ui::DialogKey::Undo:
            // A name edit with the focus undoes its own typing.
            if (m_editing || !m_edits.undo) return false;
            undoStep(host);
            return true;
    }
    return false;
}

void CFavoriteDlg::onClose(ui::DialogHost& host) {
    finish(host, ui::IDCANCEL);
}

// A name being typed counts whichever way the dialog ends.
void CFavoriteDlg::finish(ui::DialogHost& host, int result) {
    if (m_editing) endNameEdit(host, *m_editing);
    m_ended = true;
    host.endDialog(result);
}

// ----- Names ----------------------------------------------------------------

void CFavoriteDlg::showNames(ui::DialogHost& host) {
    for (int k = 0; k < kFavouriteDialogGroups; ++k)
        host.form().setText(IDC_GROUP_NAME[k],
                            groupInFile(k) ? toUtf8(groupName(k), m_page) : std::string());
}

void CFavoriteDlg::beginNameEdit(ui::DialogHost& host, int k) {
    if (!groupInFile(k)) return;
    ui::Form& form = host.form();
    form.setReadOnly(IDC_GROUP_NAME[k], false);
    m_backup[static_cast<std::size_t>(k)] = form.text(IDC_GROUP_NAME[k]);
    m_editing = k;
    selectGroup(host, k);
}

void CFavoriteDlg::endNameEdit(ui::DialogHost& host, int k) {
    if (m_editing != k) return;
    m_editing.reset();
    ui::Form& form = host.form();
    form.setReadOnly(IDC_GROUP_NAME[k], true);
    std::string name = fromUtf8(form.text(IDC_GROUP_NAME[k]), m_page);
    if (name.size() > static_cast<std::size_t>(kGroupNameLength)) name.resize(kGroupNameLength);

    const auto group = static_cast<std::size_t>(k);
    const edit::EditOperation rename = edit::RenameFavouriteGroup{group, name};
    if (!name.empty() || groupSize(k, m_mode) == 0) {
        if (name != groupName(k)) applyStep({&rename, 1});
    } else {
        const auto answer =
            m_dialogs.messageBox({kClearNameQuestion, ui::kQuestionCaption,
                                  ui::MessageButtons::YesNo, ui::MessageIcon::Exclamation});
        if (answer == ui::MessageAnswer::Yes) {
            const edit::EditOperation step[] = {rename, edit::ClearFavouriteGroup{group, m_mode}};
            applyStep(step);
            fillList(host, k, m_mode);
        } else {
            // The old name stays in the table, so it comes back in the edit.
            form.setText(IDC_GROUP_NAME[k], m_backup[static_cast<std::size_t>(k)]);
        }
    }
    if (k == m_group) form.setText(IDC_GROUP_CAPTION, toUtf8(groupName(k), m_page));
}

std::string CFavoriteDlg::groupName(int k) const {
    return nameBytes(m_db.favourites.groups[static_cast<std::size_t>(k)].name);
}

// ----- Groups and sides -----------------------------------------------------

void CFavoriteDlg::selectGroup(ui::DialogHost& host, int k) {
    ui::Form& form = host.form();
    form.setText(IDC_GROUP_CAPTION, groupInFile(k) ? toUtf8(groupName(k), m_page) : std::string());
    for (int g = 0; g < kFavouriteDialogGroups; ++g) {
        form.setChecked(IDC_GROUP_SELECTOR[g], g == k);
        form.setVisible(IDC_TV_LIST[g], false);
        form.setVisible(IDC_RADIO_LIST[g], false);
    }
    m_group = k;
    m_memory.group = static_cast<std::size_t>(k);
    form.setVisible(visibleList(), true);
    fillList(host, k, m_mode);
}

void CFavoriteDlg::switchMode(ui::DialogHost& host, ChannelKind mode) {
    m_mode = mode;
    ui::Form& form = host.form();
    const bool tv = mode == ChannelKind::Tv;
    form.setChecked(IDC_TV_MODE, tv);
    form.setChecked(IDC_RADIO_MODE, !tv);
    form.setVisible(IDC_TV_LABEL, tv);
    form.setVisible(IDC_RADIO_LABEL, !tv);
    selectGroup(host, m_group);
}

// "%0.3d %s": the place in the group and the name of the channel the entry holds.
void CFavoriteDlg::fillList(ui::DialogHost& host, int k, ChannelKind kind) {
    ui::ListControl* list = host.form().list(listId(k, kind));
    if (!list) return;
    std::vector<ui::ListRow> rows;
    if (groupInFile(k)) {
        const auto members = m_db.groupMembers(static_cast<std::size_t>(k), kind);
        const auto& channels = m_db.channels(kind);
        rows.reserve(members.size());
        for (std::size_t i = 0; i < members.size(); ++i) {
            const std::size_t channel = members[i];
            const std::string name =
                channels.contains(channel) ? nameBytes(channels.primary[channel].name) : "";
            ui::ListRow row;
            row.texts = {favouritePositionText(static_cast<int>(i + 1)) + " " +
                         toUtf8(name, m_page)};
            rows.push_back(std::move(row));
        }
    }
    list->setRows(std::move(rows));
}

ui::ControlId CFavoriteDlg::visibleList() const {
    return listId(m_group, m_mode);
}

bool CFavoriteDlg::groupInFile(int k) const {
    return k >= 0 && static_cast<std::size_t>(k) < m_db.favouriteGroupCount() &&
           static_cast<std::size_t>(k) < kFavouriteGroupCapacity;
}

// Sizes come from the table itself, so the lists never disagree with it.
std::size_t CFavoriteDlg::groupSize(int k, ChannelKind kind) const {
    return groupInFile(k) ? m_db.groupMembers(static_cast<std::size_t>(k), kind).size() : 0;
}

// Takes back the last step made in this opening, never an earlier one, and
// shows the groups as they are again.
bool CFavoriteDlg::undoStep(ui::DialogHost& host) {
    if (m_stepsMade == 0 || !m_edits.undo()) return false;
    --m_stepsMade;
    showNames(host);
    selectGroup(host, m_group);
    return true;
}

bool CFavoriteDlg::applyStep(std::span<const edit::EditOperation> step) {
    if (!m_edits.apply) return false;
    if (!m_edits.apply(step).ok()) return false;
    ++m_stepsMade;
    return true;
}

}  // namespace zoedit
