#include "app/close_prompt.h"

#include "ui/resource_ids.h"

namespace zoedit::app {

bool runClosePrompt(ui::Dialogs& dialogs, bool unsaved_edits, const std::function<bool()>& save) {
    if (!unsaved_edits) return true;
    const auto answer =
        dialogs.messageBox({ui::kSaveChangesQuestion, ui::kQuestionCaption,
                            ui::MessageButtons::YesNo, ui::MessageIcon::Exclamation});
    if (answer != ui::MessageAnswer::Yes || !save) return true;
    return save();
}

}  // namespace zoedit::app
