// The editor's own dialog templates (the channel search, the favourites)
// made known to the modal dialog runner.
#pragma once

namespace zoedit::qt {

class QtDialogs;

void registerEditorDialogs(QtDialogs& dialogs);

}  // namespace zoedit::qt
