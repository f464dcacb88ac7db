// The main frame's menu, toolbar, accelerators and status prompts as data.
// The Qt shell turns them into menus, tool buttons and shortcuts; nothing
// here knows about widgets.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zoedit::app {

// A menu item; a separator has id 0.
struct MenuItem {
    int id = 0;
    std::string_view caption;   // UTF-8, "&" marks the mnemonic
    std::string_view shortcut;  // shown beside the caption only; the keys are the accelerators
    bool isSeparator() const { return id == 0; }
};

struct Menu {
    std::string_view caption;
    std::vector<MenuItem> items;
};

// The menu bar, left to right.
const std::vector<Menu>& mainMenu();

// Toolbar buttons in order; 0 stands for a separator.
std::span<const int> toolbarButtons();

// A key combination in the portable text form "Ctrl+O", "Shift+Del",
// "Alt+Backspace", "F6", and the command it sends.
struct Accelerator {
    std::string_view keys;
    int command;
};
std::span<const Accelerator> accelerators();
// The command a key combination sends, or 0.
int acceleratorCommand(std::string_view keys);

// Status-bar prompt and tool tip of a command; empty when the program has
// none of its own (the framework's commands keep the toolkit's defaults).
struct CommandTexts {
    std::string_view prompt;
    std::string_view tooltip;
};
CommandTexts commandTexts(int id);

// Whether the program carries out this command yet. Menu items and toolbar
// buttons of commands that are not built stay disabled.
bool isCommandBuilt(int id);

// The main window's title (a branding line; the document name never shows).
std::string_view windowTitle();

// Status bar panes after the message pane: the setting pane (id 129) sized
// for its text, then the keyboard indicators.
inline constexpr std::string_view kIndicators[] = {"CAP", "NUM", "SCRL"};

}  // namespace zoedit::app
