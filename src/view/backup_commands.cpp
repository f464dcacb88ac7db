#include "view/backup_commands.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "database/backup_restore.h"
#include "ui/resource_ids.h"

namespace zoedit {

bool CBackupCommands::onCommand(int id) {
    switch (id) {
        case ui::cmd::ID_FILE_RESTORE_BACKUP:
            if (enabled(id).value_or(false)) OnRestoreBackup();
            return true;
        case ui::cmd::ID_FILE_REVERT:
            if (enabled(id).value_or(false)) OnRevertToSaved();
            return true;
        case ui::cmd::ID_FILE_BACKUPS_KEPT:
            OnBackupsKept();
            return true;
        default:
            return false;
    }
}

std::optional<bool> CBackupCommands::enabled(int id) const {
    switch (id) {
        case ui::cmd::ID_FILE_RESTORE_BACKUP:
            return m_view.state().m_bLoaded != 0 && !m_view.backups().root().empty();
        case ui::cmd::ID_FILE_REVERT:
            return m_view.state().m_bLoaded != 0;
        case ui::cmd::ID_FILE_BACKUPS_KEPT:
            return true;
        default:
            return std::nullopt;
    }
}

void CBackupCommands::OnRestoreBackup() {
    const std::string& path = m_view.currentPath();
    const std::vector<BackupEntry> entries = m_view.backups().list(path);
    if (entries.empty()) return tell("There are no backups of " + path + ".");
    ui::ChoiceRequest request;
    request.title = kRestoreBackupTitle;
    request.prompt = "Backups of " + path + ", newest first:";
    for (std::size_t i = 0; i < entries.size(); ++i)
        request.items.push_back(backupLine(static_cast<int>(i) + 1, entries[i]));
    const auto chosen = m_view.platform().dialogs.chooseItem(request);
    if (!chosen || *chosen < 0 || static_cast<std::size_t>(*chosen) >= entries.size()) return;
    if (!mayDiscard(kDiscardForBackupQuestion)) return;
    m_view.OpenDocumentFrom(entries[static_cast<std::size_t>(*chosen)].path);
}

void CBackupCommands::OnRevertToSaved() {
    if (!mayDiscard(kDiscardChangesQuestion)) return;
    m_view.ReloadDocument();
}

void CBackupCommands::OnBackupsKept() {
    const BackupStore& store = m_view.backups();
    ui::ChoiceRequest request;
    request.title = kBackupsKeptTitle;
    request.prompt = "Backups kept of each file before it is replaced:";
    const auto* first = std::begin(kBackupsKeptChoices);
    for (const int n : kBackupsKeptChoices)
        request.items.push_back(n == 0 ? "None" : std::to_string(n));
    // The current number, or the next larger choice when it is none of them.
    const auto* at = std::lower_bound(first, std::end(kBackupsKeptChoices), store.keep());
    request.initial =
        static_cast<int>(std::min<std::ptrdiff_t>(at - first, std::size(kBackupsKeptChoices) - 1));
    const auto chosen = m_view.platform().dialogs.chooseItem(request);
    if (!chosen || *chosen < 0 || *chosen >= static_cast<int>(std::size(kBackupsKeptChoices)))
        return;
    const int kept = kBackupsKeptChoices[*chosen];
    m_view.setBackups(BackupStore(store.root(), kept));
    if (m_keptChanged) m_keptChanged(kept);
}

bool CBackupCommands::mayDiscard(const char* question) {
    if (!m_view.hasUnsavedEdits()) return true;
    return m_view.platform().dialogs.messageBox(
               {question, ui::kQuestionCaption, ui::MessageButtons::YesNo,
                ui::MessageIcon::Warning}) == ui::MessageAnswer::Yes;
}

void CBackupCommands::tell(const std::string& text) {
    m_view.platform().dialogs.messageBox({text, "", ui::MessageButtons::Ok});
}

}  // namespace zoedit
