// The code page through which names are shown: the user's choice, kept in
// the settings between runs.
#pragma once

#include "database/codepage.h"

namespace zoedit::qt {

CodePage loadCodePage();
void storeCodePage(CodePage page);
// Position of a code page in the view menu's list, and back.
int codePageIndex(CodePage page);
CodePage codePageFromIndex(int index);

}  // namespace zoedit::qt
