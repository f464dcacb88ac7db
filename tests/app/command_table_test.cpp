// The shell's menu, toolbar and accelerator data: every command the toolbar
// or a key sends exists, and the keys send what the shell promises.
#include "app/command_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "ui/resource_ids.h"

namespace zoedit::app {
namespace {

using namespace ui::cmd;

std::vector<int> menuCommands() {
    std::vector<int> ids;
    for (const Menu& menu : mainMenu())
        for (const MenuItem& item : menu.items)
            if (!item.isSeparator()) ids.push_back(item.id);
    return ids;
}

TEST(CommandTable, MenuHoldsEveryCommandOnceWithSeparatorsInPlace) {
    const auto ids = menuCommands();
    EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), ids.size());
    EXPECT_EQ(ids.size(), 28u);
    ASSERT_EQ(mainMenu().size(), 6u);

    // A separator follows exactly these commands.
    std::set<int> before_separator;
    for (const Menu& menu : mainMenu()) {
        ASSERT_FALSE(menu.items.empty());
        EXPECT_FALSE(menu.items.front().isSeparator());
        EXPECT_FALSE(menu.items.back().isSeparator());
        for (std::size_t i = 1; i < menu.items.size(); ++i)
            if (menu.items[i].isSeparator()) before_separator.insert(menu.items[i - 1].id);
    }
    EXPECT_EQ(before_separator,
              (std::set<int>{ID_FILE_BACKUPS_KEPT, ID_FILE_COMPARE, ID_FILE_PRINT_SETUP,
                             ID_EDIT_KEEP_ORDER, ID_EDIT_DELETE, ID_VIEW_RADIO, ID_PORT_SETTINGS}));
    EXPECT_EQ(mainMenu()[0].items[0].shortcut, "Ctrl+O");
    EXPECT_EQ(mainMenu()[0].items.back().shortcut, "Alt_F4");
}

TEST(CommandTable, ToolbarButtonsAreMenuCommandsInTheirOrder) {
    const auto ids = menuCommands();
    const std::vector<int> expected = {ID_FILE_OPEN,
                                       ID_FILE_SAVE,
                                       0,
                                       ID_VIEW_TV,
                                       ID_VIEW_RADIO,
                                       ID_VIEW_FAVOURITES,
                                       0,
                                       ID_DOWNLOAD,
                                       ID_UPLOAD,
                                       0,
                                       ID_PORT_SETTINGS,
                                       ID_FILE_PRINT,
                                       0,
                                       ID_APP_ABOUT};
    const auto buttons = toolbarButtons();
    EXPECT_EQ(std::vector<int>(buttons.begin(), buttons.end()), expected);
    for (int id : buttons) {
        if (id != 0) {
            EXPECT_NE(std::find(ids.begin(), ids.end(), id), ids.end()) << id;
        }
    }
}

TEST(CommandTable, FormKeysSendTheButtonsAndEditingKeysSendNothingUseful) {
    EXPECT_EQ(acceleratorCommand("Ctrl+S"), ui::form::IDC_SAVE);  // not the menu's 32792
    EXPECT_EQ(acceleratorCommand("Ctrl+N"), ui::form::IDC_NEW);
    EXPECT_EQ(acceleratorCommand("Ctrl+D"), ui::form::IDC_DELETE);
    EXPECT_EQ(acceleratorCommand("Ctrl+F"), ui::form::IDC_SEARCH);
    EXPECT_EQ(acceleratorCommand("Ctrl+O"), ID_FILE_OPEN);
    EXPECT_EQ(acceleratorCommand("Ctrl+P"), ID_FILE_PRINT);
    EXPECT_EQ(acceleratorCommand("Alt+F4"), ID_APP_EXIT);
    // Ctrl+X and Ctrl+V do what the menu shows beside cut and paste.
    EXPECT_EQ(acceleratorCommand("Ctrl+X"), ID_EDIT_CUT_CHANNEL);
    EXPECT_EQ(acceleratorCommand("Shift+Del"), ID_EDIT_CUT);
    EXPECT_EQ(acceleratorCommand("Ctrl+V"), ID_EDIT_PASTE_CHANNEL);
    EXPECT_EQ(acceleratorCommand("Shift+Ins"), ID_EDIT_PASTE);
    EXPECT_EQ(acceleratorCommand("Ctrl+Q"), 0);
    EXPECT_EQ(acceleratorCommand("Ctrl+Z"), ID_EDIT_UNDO);
    EXPECT_EQ(acceleratorCommand("Ctrl+Y"), ID_EDIT_REDO);
    EXPECT_EQ(acceleratorCommand("Ctrl+Shift+Z"), ID_EDIT_REDO);

    std::set<std::string_view> keys;
    for (const Accelerator& a : accelerators()) EXPECT_TRUE(keys.insert(a.keys).second) << a.keys;
    EXPECT_EQ(keys.size(), 19u);
}

TEST(CommandTable, PromptsAndBuiltCommands) {
    EXPECT_EQ(commandTexts(ID_DOWNLOAD).prompt, "Download the Data");
    EXPECT_EQ(commandTexts(ID_UPLOAD).tooltip, "Upload");
    EXPECT_EQ(commandTexts(ID_FILE_SAVE).tooltip, "File Save");
    EXPECT_EQ(commandTexts(ID_VIEW_FAVOURITES).prompt, "View the Favorite Channel");
    EXPECT_TRUE(commandTexts(ID_FILE_OPEN).prompt.empty());

    EXPECT_TRUE(isCommandBuilt(ID_FILE_OPEN));
    EXPECT_TRUE(isCommandBuilt(ID_VIEW_RADIO));
    EXPECT_TRUE(isCommandBuilt(ID_DOWNLOAD));
    EXPECT_TRUE(isCommandBuilt(ID_EDIT_CUT_CHANNEL));
    EXPECT_TRUE(isCommandBuilt(ID_VIEW_FAVOURITES));
    EXPECT_FALSE(windowTitle().empty());
}

}  // namespace
}  // namespace zoedit::app
