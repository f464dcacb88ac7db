// What happens when the main frame closes (close box, exit command, Alt+F4).
#pragma once

#include <functional>

#include "ui/dialogs.h"

namespace zoedit::app {

// Offers to save when there are unsaved edits and runs `save` on Yes.
// Returns whether the frame may close: always, except when the user asked
// for the save and it failed (the save has told why); closing then would
// throw the edits away.
bool runClosePrompt(ui::Dialogs& dialogs, bool unsaved_edits, const std::function<bool()>& save);

}  // namespace zoedit::app
