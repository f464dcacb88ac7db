// How many backups of each file the window keeps: the user's choice, kept in
// the settings between runs.
#pragma once

namespace zoedit::qt {

int loadBackupsKept();
void storeBackupsKept(int kept);

}  // namespace zoedit::qt
