#include "qt/menu_definition.h"

#include <array>
#include <iterator>

#include "ui/resource_ids.h"

namespace zoedit::qt {

namespace {

using namespace zoedit::ui::cmd;
namespace form = zoedit::ui::form;

constexpr MenuItemDef kFileMenu[] = {
    {ID_FILE_OPEN, "&فتح", "Ctrl+O"},
    {ID_FILE_SAVE, "&حفظ", "Ctrl+S"},
    {0},
    {ID_FILE_PRINT, "&طباعة...", "Ctrl+P"},
    {ID_FILE_PRINT_PREVIEW, "Print Pre&view", ""},
    {ID_FILE_PRINT_SETUP, "P&rint Setup...", ""},
    {0},
    {ID_APP_EXIT, "خروج ", "Alt_F4"},
};
constexpr MenuItemDef kEditMenu[] = {
    {ID_EDIT_NEW, "&جديد", "Ctrl+N"},
    {ID_EDIT_CUT_CHANNEL, "قطع", "Ctrl+X"},
    {ID_EDIT_PASTE_CHANNEL, "&إسترجاع", "Ctrl+V"},
    {0},
    {ID_EDIT_DELETE, "&مسح", "Ctrl+D"},
};
constexpr MenuItemDef kViewMenu[] = {
    {ID_VIEW_TV, "قنوات التلفزيون", ""},
    {ID_VIEW_RADIO, "قنوات الراديو", ""},
    {0},
    {ID_VIEW_FAVOURITES, "المفضلة(A-C)", ""},
};
constexpr MenuItemDef kControlMenu[] = {
    {ID_PORT_OPEN_CLOSE, "Port إعداد", ""},
    {ID_PORT_SETTINGS, "الخصائص", ""},
    {0},
    {ID_DOWNLOAD, "التحميل من الكمبيوتر للرسيفر", ""},
    {ID_UPLOAD, "التحميل من الرسيفر للكمبيوتر", ""},
};
constexpr MenuItemDef kBarsMenu[] = {
    {ID_VIEW_TOOLBAR, "&Toolbar", ""},
    {ID_VIEW_STATUS_BAR, "&Status Bar", ""},
};
constexpr MenuItemDef kHelpMenu[] = {
    {ID_APP_ABOUT, "&معلومات عن ؟", ""},
};

constexpr MenuDef kMenus[] = {
    {"&ملف", kFileMenu},       {"&تعديل", kEditMenu},   {"&عرض", kViewMenu},
    {"&التحكم", kControlMenu}, {"&القوائم", kBarsMenu}, {"&Vemora", kHelpMenu},
};

constexpr int kToolbar[] = {ID_FILE_OPEN,
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

// The four form-button keys name the buttons themselves, not the menu commands.
constexpr AcceleratorDef kAccelerators[] = {
    {"Ctrl+O", ID_FILE_OPEN},   {"Ctrl+P", ID_FILE_PRINT},       {"Ctrl+S", form::IDC_SAVE},
    {"Ctrl+N", form::IDC_NEW},  {"Ctrl+D", form::IDC_DELETE},    {"Ctrl+F", form::IDC_SEARCH},
    {"Ctrl+C", ID_EDIT_COPY},   {"Ctrl+Ins", ID_EDIT_COPY},      {"Ctrl+X", ID_EDIT_CUT},
    {"Shift+Del", ID_EDIT_CUT}, {"Ctrl+V", ID_EDIT_PASTE},       {"Shift+Ins", ID_EDIT_PASTE},
    {"Ctrl+Z", ID_EDIT_UNDO},   {"Alt+Backspace", ID_EDIT_UNDO}, {"Alt+F4", ID_APP_EXIT},
    {"F6", ID_NEXT_PANE},       {"Shift+F6", ID_PREV_PANE},
};

constexpr CommandTextDef kTexts[] = {
    {ID_DOWNLOAD, "Download the Data", "Download"},
    {ID_VIEW_FAVOURITES, "View the Favorite Channel", "Favorite Channel"},
    {ID_VIEW_TV, "Viewing the TV Channel", "TV Channel"},
    {ID_VIEW_RADIO, "Viewing the Radio Channel", "Radio Channel"},
    {ID_FILE_SAVE, "Save the File", "File Save"},
    {ID_PORT_SETTINGS, "Serial Port Setting", "Serial Port"},
    {ID_UPLOAD, "Upload the Data", "Upload"},
    // The standard commands carry the usual desktop prompts.
    {ID_FILE_OPEN, "Open an existing document", "Open"},
    {ID_FILE_PRINT, "Print the active document", "Print"},
    {ID_FILE_PRINT_PREVIEW, "Display full pages", "Print Preview"},
    {ID_FILE_PRINT_SETUP, "Change the printer and printing options", "Print Setup"},
    {ID_APP_EXIT, "Quit the application; prompts to save documents", "Exit"},
    {ID_VIEW_TOOLBAR, "Show or hide the toolbar", "Toggle ToolBar"},
    {ID_VIEW_STATUS_BAR, "Show or hide the status bar", "Toggle StatusBar"},
    {ID_APP_ABOUT, "Display program information, version number and copyright", "About"},
};

}  // namespace

std::span<const MenuDef> mainMenu() {
    return kMenus;
}
std::span<const int> toolbarCommands() {
    return kToolbar;
}
std::span<const AcceleratorDef> accelerators() {
    return kAccelerators;
}
std::span<const CommandTextDef> commandTexts() {
    return kTexts;
}

const CommandTextDef* commandText(int command) {
    for (const auto& t : kTexts)
        if (t.command == command) return &t;
    return nullptr;
}

const char* toolbarPicture(int command) {
    switch (command) {
        case ID_FILE_OPEN:
            return "open";
        case ID_FILE_SAVE:
            return "save";
        case ID_VIEW_TV:
            return "tv";
        case ID_VIEW_RADIO:
            return "radio";
        case ID_VIEW_FAVOURITES:
            return "favourites";
        case ID_DOWNLOAD:
            return "download";
        case ID_UPLOAD:
            return "upload";
        case ID_PORT_SETTINGS:
            return "port";
        case ID_FILE_PRINT:
            return "print";
        case ID_APP_ABOUT:
            return "about";
        default:
            return "";
    }
}

}  // namespace zoedit::qt
