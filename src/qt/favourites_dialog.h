// The favourites dialog's template (resources/favourites_dialog.ui) made
// known to the modal dialog runner.
#pragma once

namespace zoedit::qt {

class QtDialogs;

// The dialog opens at the size it had when last closed in this run.
void registerFavouritesDialog(QtDialogs& dialogs);

}  // namespace zoedit::qt
