// The rest of what the behaviour code asks of the window system, and the
// bundle of services handed to the main view.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/dialogs.h"
#include "ui/form.h"
#include "ui/messages.h"

namespace zoedit::ui {

// The message pane of the main frame's status bar.
class StatusBar {
public:
    virtual ~StatusBar() = default;
    virtual void setStatusText(std::string_view text) = 0;
};

struct PopupMenuItem {
    int id = 0;
    std::string caption;  // UTF-8, "&" marks the mnemonic
    bool enabled = true;
    bool separator = false;

    bool operator==(const PopupMenuItem&) const = default;
};

class PopupMenus {
public:
    virtual ~PopupMenus() = default;
    // Shows a context menu at a screen point; the chosen item's id, or -1
    // when the menu is dismissed.
    virtual int trackPopupMenu(const std::vector<PopupMenuItem>& items, int x, int y) = 0;
};

struct Platform {
    Form& form;
    Dialogs& dialogs;
    StatusBar& status;
    MessagePoster& poster;
    PopupMenus& menus;
};

}  // namespace zoedit::ui
