#include "view/edit_buttons.h"

#include <array>
#include <optional>

namespace zoedit {

using namespace ui::form;

namespace {

constexpr std::array kButtons = {IDC_EDIT, IDC_NEW, IDC_SAVE, IDC_DELETE, IDC_CANCEL};

// On, off, or left as it was (nullopt), per button in kButtons' order.
using Row = std::array<std::optional<bool>, kButtons.size()>;
constexpr std::optional<bool> on = true;
constexpr std::optional<bool> off = false;
constexpr std::optional<bool> keep = std::nullopt;

constexpr Row rowOf(ButtonEvent event) {
    switch (event) {
        case ButtonEvent::FileLoaded:
            return {on, off, off, off, off};
        case ButtonEvent::Edit:
            return {off, on, on, on, on};
        case ButtonEvent::New:
            return {keep, off, keep, off, keep};
        case ButtonEvent::Save:
        case ButtonEvent::Cancel:
            return {keep, on, on, on, on};
        case ButtonEvent::Cut:
        case ButtonEvent::ColumnSort:
            return {keep, off, keep, off, keep};
        case ButtonEvent::Paste:
            return {keep, on, keep, on, keep};
    }
    return {};
}

}  // namespace

void applyButtonTable(ui::Form& form, ButtonEvent event) {
    const Row row = rowOf(event);
    for (std::size_t i = 0; i < kButtons.size(); ++i)
        if (row[i]) form.setEnabled(kButtons[i], *row[i]);
}

}  // namespace zoedit
