// The five buttons under the tab pages (Edit, New, Save, Delete, Cancel):
// which of them each event turns on or off, as one table.
#pragma once

#include "ui/form.h"

namespace zoedit {

enum class ButtonEvent { FileLoaded, Edit, New, Save, Cancel, Cut, Paste, ColumnSort };

// Sets the buttons that `event` changes; the others keep their state.
void applyButtonTable(ui::Form& form, ButtonEvent event);

}  // namespace zoedit
