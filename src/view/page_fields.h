// The fields a user can type into on the three pages: which of them hold
// typing (their text differs from what the page showed for the record), and
// whether each typed value fits its field. A value that was stored in the
// file, however odd, is not typing: it is shown and saved as it is.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/form.h"
#include "view/editor_state.h"

namespace zoedit {

// What a typed value must be.
enum class FieldRule { Name, Frequency, Pid, Hex16, Position };

struct PageField {
    ui::ControlId id;
    Page page;
    std::string FormValues::*text;
    const char* label;
    FieldRule rule;
};

// A typed value that does not fit: the field, its page, and a message that
// names the field and its range.
struct FieldRefusal {
    ui::ControlId id;
    Page page;
    std::string message;
};

// Whether the page entries differ anywhere a user can change them: the
// checked fields, the drop lists, and the scrambled and PID-mode boxes (the
// lock box is a step of its own when clicked).
bool hasTyping(const FormValues& shown, const FormValues& now);
// Whether this field's text differs from the one shown.
bool isTyped(const PageField& field, const FormValues& shown, const FormValues& now);
// The first typed value, in page order, that does not fit its field. The
// fields in `required` are checked even when untouched (a new satellite
// needs its name).
std::optional<FieldRefusal> firstRefusal(const FormValues& shown, const FormValues& now,
                                         const std::vector<ui::ControlId>& required = {});
// The field's entry, for the committers.
const PageField& pageField(ui::ControlId id);

}  // namespace zoedit
