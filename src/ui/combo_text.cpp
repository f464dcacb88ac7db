#include "ui/combo_text.h"

#include <cctype>
#include <string_view>
#include <vector>

namespace zoedit::ui {
namespace {

bool beginsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (prefix.size() > text.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    }
    return true;
}

}  // namespace

void selectComboText(Form& form, ControlId id, const std::string& text) {
    const std::vector<std::string> items = form.items(id);
    // An empty text begins every item; it stands for nothing chosen.
    if (!text.empty()) {
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (beginsWithIgnoringCase(items[i], text)) {
                form.setSelectedIndex(id, static_cast<int>(i));
                return;
            }
        }
    }
    form.setSelectedIndex(id, -1);
    form.setText(id, text);
}

}  // namespace zoedit::ui
