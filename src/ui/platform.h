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

// Byte strings of the channel file (names) to and from UTF-8. Must be
// lossless: encode(decode(b)) == b for any bytes b.
class NameCodec {
public:
    virtual ~NameCodec() = default;
    virtual std::string decode(std::string_view bytes) const = 0;
    virtual std::string encode(std::string_view utf8) const = 0;
};

// Every byte as the code point of the same value (ISO-8859-1): lossless.
class Latin1Codec final : public NameCodec {
public:
    std::string decode(std::string_view bytes) const override;
    std::string encode(std::string_view utf8) const override;
};

struct Platform {
    Form& form;
    Dialogs& dialogs;
    StatusBar& status;
    MessagePoster& poster;
    PopupMenus& menus;
};

}  // namespace zoedit::ui
