// The File menu's backup commands: Restore Backup… opens one of the current
// file's backups as its document, Revert to Saved reads the file again, and
// Backups to Keep… says how many backups of each file are kept.
#pragma once

#include <functional>
#include <optional>

#include "view/zoedit_view.h"

namespace zoedit {

inline constexpr char kDiscardChangesQuestion[] =
    "Discard the changes made since the last save and read the file again?";
inline constexpr char kDiscardForBackupQuestion[] =
    "Discard the changes made since the last save and open the backup?";
inline constexpr char kRestoreBackupTitle[] = "Restore Backup";
inline constexpr char kBackupsKeptTitle[] = "Backups to Keep";

// The choices of Backups to Keep…, fewest first.
inline constexpr int kBackupsKeptChoices[] = {0, 1, 2, 3, 5, 10, 20, 50, 100};

class CBackupCommands {
public:
    // `kept_changed` keeps the user's new number between runs.
    CBackupCommands(CZoEditView& view, std::function<void(int kept)> kept_changed)
        : m_view(view), m_keptChanged(std::move(kept_changed)) {}

    // False for commands other than the three.
    bool onCommand(int id);
    // Nothing for commands other than the three.
    std::optional<bool> enabled(int id) const;

    void OnRestoreBackup();
    void OnRevertToSaved();
    void OnBackupsKept();

private:
    // The question before unsaved changes are dropped; true to go on.
    bool mayDiscard(const char* question);
    void tell(const std::string& text);

    CZoEditView& m_view;
    std::function<void(int)> m_keptChanged;
};

}  // namespace zoedit
