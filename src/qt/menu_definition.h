// The main frame's menu, toolbar, accelerators and command prompts as data,
// so that the window and the tests read the same table.
#pragma once

#include <span>

namespace zoedit::qt {

struct MenuItemDef {
    int command = 0;            // 0 for a separator
    const char* caption = "";   // UTF-8, "&" marks the mnemonic
    const char* shortcut = "";  // shown beside the caption only; keys come from the accelerators
};

struct MenuDef {
    const char* caption = "";
    std::span<const MenuItemDef> items;
};

struct AcceleratorDef {
    const char* keys = "";  // QKeySequence portable text
    int command = 0;
};

struct CommandTextDef {
    int command = 0;
    const char* prompt = "";  // status-bar prompt
    const char* tool_tip = "";
};

std::span<const MenuDef> mainMenu();
// Toolbar buttons in order; 0 stands for a separator.
std::span<const int> toolbarCommands();
std::span<const AcceleratorDef> accelerators();
std::span<const CommandTextDef> commandTexts();
const CommandTextDef* commandText(int command);
// File stem of the toolbar picture of a command, "" when it has none.
const char* toolbarPicture(int command);

}  // namespace zoedit::qt
