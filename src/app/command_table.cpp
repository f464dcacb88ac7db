#include "app/command_table.h"

#include <algorithm>
#include <array>

#include "ui/resource_ids.h"

namespace zoedit::app {

using namespace ui::cmd;

const std::vector<Menu>& mainMenu() {
    static const std::vector<Menu> menu = {
        {"&ملف",
         {{ID_FILE_OPEN, "&فتح", "Ctrl+O"},
          {ID_FILE_SAVE, "&حفظ", "Ctrl+S"},
          {ID_FILE_REVERT, "Revert to Saved", ""},
          {ID_FILE_RESTORE_BACKUP, "Restore Backup…", ""},
          {ID_FILE_BACKUPS_KEPT, "Backups to Keep…", ""},
          {},
          {ID_FILE_APPLY_ORDER, "Apply &Order From...", ""},
          {ID_FILE_COMPARE, "Co&mpare With...", ""},
          {},
          {ID_FILE_PRINT, "&طباعة...", "Ctrl+P"},
          {ID_FILE_PRINT_PREVIEW, "Print Pre&view", ""},
          {ID_FILE_PRINT_SETUP, "P&rint Setup...", ""},
          {},
          {ID_APP_EXIT, "خروج ", "Alt_F4"}}},
        {"&تعديل",
         {{ID_EDIT_NEW, "&جديد", "Ctrl+N"},
          {ID_EDIT_CUT_CHANNEL, "قطع", "Ctrl+X"},
          {ID_EDIT_PASTE_CHANNEL, "&إسترجاع", "Ctrl+V"},
          {ID_EDIT_KEEP_ORDER, "Keep This Order", ""},
          {},
          {ID_EDIT_DELETE, "&مسح", "Ctrl+D"},
          {},
          {ID_EDIT_UNDO, "Undo", "Ctrl+Z"},
          {ID_EDIT_REDO, "Redo", "Ctrl+Y"}}},
        {"&عرض",
         {{ID_VIEW_TV, "قنوات التلفزيون", ""},
          {ID_VIEW_RADIO, "قنوات الراديو", ""},
          {},
          {ID_VIEW_FAVOURITES, "المفضلة(A-C)", ""}}},
        {"&التحكم",
         {{ID_PORT_OPEN_CLOSE, "Port إعداد", ""},
          {ID_PORT_SETTINGS, "الخصائص", ""},
          {},
          {ID_DOWNLOAD, "التحميل من الكمبيوتر للرسيفر", ""},
          {ID_UPLOAD, "التحميل من الرسيفر للكمبيوتر", ""}}},
        {"&القوائم", {{ID_VIEW_TOOLBAR, "&Toolbar", ""}, {ID_VIEW_STATUS_BAR, "&Status Bar", ""}}},
        {"&Vemora", {{ID_APP_ABOUT, "&معلومات عن ؟", ""}}},
    };
    return menu;
}

std::span<const int> toolbarButtons() {
    static constexpr std::array buttons = {ID_FILE_OPEN,
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
    return buttons;
}

std::span<const Accelerator> accelerators() {
    // Ctrl+S, Ctrl+N, Ctrl+D and Ctrl+F send the form's buttons, not the menu
    // commands. Ctrl+X and Ctrl+V cut and paste channels, as the menu shows;
    // a text edit with the focus takes them first. The other standard
    // editing keys send commands nothing handles.
    static constexpr std::array<Accelerator, 19> table = {{
        {"Ctrl+O", ID_FILE_OPEN},          {"Ctrl+P", ID_FILE_PRINT},
        {"Ctrl+S", ui::form::IDC_SAVE},    {"Ctrl+N", ui::form::IDC_NEW},
        {"Ctrl+D", ui::form::IDC_DELETE},  {"Ctrl+F", ui::form::IDC_SEARCH},
        {"Ctrl+C", ID_EDIT_COPY},          {"Ctrl+Ins", ID_EDIT_COPY},
        {"Ctrl+X", ID_EDIT_CUT_CHANNEL},   {"Shift+Del", ID_EDIT_CUT},
        {"Ctrl+V", ID_EDIT_PASTE_CHANNEL}, {"Shift+Ins", ID_EDIT_PASTE},
        {"Ctrl+Z", ID_EDIT_UNDO},          {"Alt+Backspace", ID_EDIT_UNDO},
        {"Ctrl+Y", ID_EDIT_REDO},          {"Ctrl+Shift+Z", ID_EDIT_REDO},
        {"Alt+F4", ID_APP_EXIT},           {"F6", ID_NEXT_PANE},
        {"Shift+F6", ID_PREV_PANE},
    }};
    return table;
}

int acceleratorCommand(std::string_view keys) {
    for (const Accelerator& a : accelerators())
        if (a.keys == keys) return a.command;
    return 0;
}

CommandTexts commandTexts(int id) {
    switch (id) {
        case ID_DOWNLOAD:
            return {"Download the Data", "Download"};
        case ID_VIEW_FAVOURITES:
            return {"View the Favorite Channel", "Favorite Channel"};
        case ID_VIEW_TV:
            return {"Viewing the TV Channel", "TV Channel"};
        case ID_VIEW_RADIO:
            return {"Viewing the Radio Channel", "Radio Channel"};
        case ID_FILE_SAVE:
            return {"Save the File", "File Save"};
        case ID_FILE_REVERT:
            return {"Read the file again as it was last saved", "Revert to Saved"};
        case ID_FILE_RESTORE_BACKUP:
            return {"Open a backup of the file, kept before it was replaced", "Restore Backup"};
        case ID_FILE_BACKUPS_KEPT:
            return {"How many backups of each file are kept", "Backups to Keep"};
        case ID_PORT_SETTINGS:
            return {"Serial Port Setting", "Serial Port"};
        case ID_UPLOAD:
            return {"Upload the Data", "Upload"};
        case ID_FILE_APPLY_ORDER:
            return {"Give the lists the order of another channel file or a CSV", "Apply Order"};
        case ID_FILE_COMPARE:
            return {"Show what changed from another channel file", "Compare"};
        default:
            return {};
    }
}

bool isCommandBuilt(int id) {
    static constexpr std::array built = {
        ID_FILE_OPEN,        ID_FILE_SAVE,        ID_EDIT_NEW,
        ID_EDIT_DELETE,      ID_APP_EXIT,         ID_VIEW_TV,
        ID_VIEW_RADIO,       ID_VIEW_TOOLBAR,     ID_VIEW_STATUS_BAR,
        ID_APP_ABOUT,        ID_PORT_SETTINGS,    ID_PORT_OPEN_CLOSE,
        ID_DOWNLOAD,         ID_UPLOAD,           ID_EDIT_UNDO,
        ID_EDIT_REDO,        ID_FILE_PRINT,       ID_FILE_PRINT_PREVIEW,
        ID_FILE_PRINT_SETUP, ID_EDIT_CUT_CHANNEL, ID_EDIT_PASTE_CHANNEL,
        ID_EDIT_KEEP_ORDER,  ID_VIEW_FAVOURITES,  ID_FILE_APPLY_ORDER,
        ID_FILE_COMPARE,     ID_FILE_REVERT,      ID_FILE_RESTORE_BACKUP,
        ID_FILE_BACKUPS_KEPT};
    return std::find(built.begin(), built.end(), id) != built.end();
}

std::string_view windowTitle() {
    return "ZoEdit - satellite receiver channel editor";
}

}  // namespace zoedit::app
