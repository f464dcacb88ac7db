// Which controls each tab page shows. The pages are not separate windows:
// switching pages shows one set of controls and hides the others.
#pragma once

#include <span>

#include "ui/resource_ids.h"

namespace zoedit {

// Controls of page 0 (Channel), 1 (Transponder) or 2 (Satellite). The
// TV/radio pictures and the two lock pictures are not listed: only one of
// each pair is visible, decided by the view.
std::span<const ui::ControlId> pageControls(int page);

// The edit fields and selectors that the read-only state locks.
std::span<const ui::ControlId> readOnlyEdits();
std::span<const ui::ControlId> disabledInReadOnlyState();

}  // namespace zoedit
