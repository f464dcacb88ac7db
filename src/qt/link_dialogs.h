// The receiver link's dialog templates (port settings, both progress
// dialogs) made known to the modal dialog runner.
#pragma once

namespace zoedit::qt {

class QtDialogs;

void registerLinkDialogs(QtDialogs& dialogs);

}  // namespace zoedit::qt
