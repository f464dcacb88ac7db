// A form or dialog as the behaviour code sees it: controls addressed by
// their identifier (resource_ids.h). Texts are UTF-8. Asking for a control
// the form does not have is a programming error; implementations ignore
// writes and answer reads with empty values.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/list_control.h"
#include "ui/resource_ids.h"

namespace zoedit::ui {

// What happened to a control. The Qt side translates its signals into these
// and hands them to the owner's onEvent.
enum class EventKind {
    Clicked,      // button, check box or radio button clicked; command of an invisible button
    SelChange,    // combo box or tab control selection changed by the user
    EditChange,   // text of an edit changed by the user
    SetFocus,     // edit received the focus
    KillFocus,    // edit lost the focus
    ItemChanged,  // list: a row became selected (item = the row)
    ItemClick,    // list: left click (item = the row under the mouse or -1)
    RightClick,   // list: right click (item, x, y in screen coordinates)
    ColumnClick,  // list: header click (item = the column)
    BeginDrag,    // list: a drag started on a row (item)
    MouseMove,    // while the mouse is captured (x, y in the form's coordinates)
    ButtonUp,     // list: a dragged row was dropped on row item (-1 below the last row)
    DragEnd,      // list: the drag ended without a drop (Escape, released elsewhere)
    Drop,         // list: the row `from` of this list was dropped on row item (-1: below the rows)
    DragCancel,   // list: a drag from this list ended without a drop
    DoubleClick,  // list: a row was double-clicked (item)
};

struct ControlEvent {
    ControlId id = 0;
    EventKind kind = EventKind::Clicked;
    int item = -1;
    int x = 0;
    int y = 0;
    int from = -1;  // Drop: the row the drag started on
};

using Rgb = std::uint32_t;  // 0x00BBGGRR as the resources give colours
constexpr Rgb rgb(int r, int g, int b) {
    return static_cast<Rgb>(r) | (static_cast<Rgb>(g) << 8) | (static_cast<Rgb>(b) << 16);
}

// Colours and font of a label that paints itself.
struct LabelStyle {
    Rgb text = 0;
    Rgb background = 0;
    int font_height = 0;  // 0 keeps the default font height
    bool bold = false;
};

class Form {
public:
    virtual ~Form() = default;

    // Text of an edit or a combo box's edit part; caption of a button, check
    // box, group box or static.
    virtual std::string text(ControlId id) const = 0;
    virtual void setText(ControlId id, std::string_view text) = 0;

    virtual bool isChecked(ControlId id) const = 0;
    virtual void setChecked(ControlId id, bool checked) = 0;
    virtual bool isEnabled(ControlId id) const = 0;
    virtual void setEnabled(ControlId id, bool enabled) = 0;
    virtual bool isReadOnly(ControlId id) const = 0;
    virtual void setReadOnly(ControlId id, bool read_only) = 0;
    virtual bool isVisible(ControlId id) const = 0;
    virtual void setVisible(ControlId id, bool visible) = 0;
    virtual void setFocus(ControlId id) = 0;

    // Maximum number of characters an edit accepts; 0 for no limit.
    virtual int inputLimit(ControlId id) const = 0;
    virtual void setInputLimit(ControlId id, int limit) = 0;

    // Combo box items and the tab control's tabs (captions in order);
    // selectedIndex is -1 when nothing is selected.
    virtual std::vector<std::string> items(ControlId id) const = 0;
    virtual void setItems(ControlId id, std::vector<std::string> items) = 0;
    virtual void addItem(ControlId id, std::string_view item) = 0;
    virtual int selectedIndex(ControlId id) const = 0;
    virtual void setSelectedIndex(ControlId id, int index) = 0;

    // Picture statics show a bitmap resource (IDB_...).
    virtual void setImage(ControlId id, int bitmap_id) = 0;
    // Colour labels (the satellite banner and the channel number).
    virtual void setLabelStyle(ControlId id, const LabelStyle& style) = 0;
    // Progress bars.
    virtual void setRange(ControlId id, int low, int high) = 0;
    virtual void setPosition(ControlId id, int position) = 0;

    // The list control with this identifier, or nullptr when there is none.
    virtual ListControl* list(ControlId id) = 0;
};

}  // namespace zoedit::ui
