// How a drop-down combo box shows a text held in a variable.
#pragma once

#include <string>

#include "ui/form.h"

namespace zoedit::ui {

// Selects the first item that begins with `text` (ignoring case); when none
// does, or the text is empty, nothing is selected and the text stands in the
// edit part.
void selectComboText(Form& form, ControlId id, const std::string& text);

}  // namespace zoedit::ui
