// Identifiers of the forms, controls, commands, bitmaps and strings. The
// behaviour code speaks of controls by these numbers; the Qt forms carry the
// same numbers on their widgets, so the two sides meet here only.
//
// Control identifiers are unique within one form or dialog, not across them
// (1017 is the TV list on the main form and the parity box of the port
// dialog), so each form has its own namespace.
#pragma once

namespace zoedit::ui {

using ControlId = int;

// Standard dialog results and the identifiers of OK and Cancel buttons.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// ---------------------------------------------------------------------------
// Forms and dialog templates.
inline constexpr int IDD_ABOUTBOX = 100;           // about box
inline constexpr int IDD_ZOEDIT_FORM = 101;        // the main form of CZoEditView
inline constexpr int IDD_PORT_SETTINGS = 137;      // serial port settings
inline constexpr int IDD_FAVORITES = 166;          // CFavoriteDlg
inline constexpr int IDD_DOWNLOAD_PROGRESS = 186;  // PC to receiver progress
inline constexpr int IDD_UPLOAD_PROGRESS = 190;    // receiver to PC progress
inline constexpr int IDD_SEARCH = 194;             // channel search
inline constexpr int IDD_APPLY_ORDER = 210;        // File menu "Apply Order From..."
inline constexpr int IDD_COMPARE = 211;            // File menu "Compare With..."

// ---------------------------------------------------------------------------
// Main form 101.
namespace form {

// Shared by all three pages.
inline constexpr ControlId IDC_TAB = 1044;         // tab control: Channel, Transponder, Satellite
inline constexpr ControlId IDC_EDIT_GROUP = 1039;  // group box around the five edit buttons
inline constexpr ControlId IDC_EDIT = 1040;        // "تعديل" enter edit mode
inline constexpr ControlId IDC_NEW = 1069;         // "جديد" placeholder record
inline constexpr ControlId IDC_SAVE = 1041;        // "حفظ" commit and write the file
inline constexpr ControlId IDC_DELETE = 1042;      // "مسـح" cascading delete
inline constexpr ControlId IDC_CANCEL = 1043;      // "إلغاء" drop a pending new record
inline constexpr ControlId IDC_FILE_PATH = 1054;   // static showing the current path
inline constexpr ControlId IDC_DATE = 1085;        // today's date, never visible

// The two lists and what sits above them.
inline constexpr ControlId IDC_TV_LIST = 1017;
inline constexpr ControlId IDC_RADIO_LIST = 1018;
inline constexpr ControlId IDC_TV_LIST_CAPTION = 1127;     // "قائمة القنوات ( Vemora )"
inline constexpr ControlId IDC_RADIO_LIST_CAPTION = 1108;  // "قائمة إذاعات الراديو"
inline constexpr ControlId IDC_SEARCH = 1009;              // "البحـث"
inline constexpr ControlId IDC_TV_SWITCH = 1128;           // check box "التلفزيون"
inline constexpr ControlId IDC_RADIO_SWITCH = 1129;        // check box "الراديو"
// Invisible radio buttons used only as commands: refill the TV / radio list.
inline constexpr ControlId IDC_FILL_TV = 1046;
inline constexpr ControlId IDC_FILL_RADIO = 1047;

// Channel page.
inline constexpr ControlId IDC_TV_PICTURE = 1048;     // picture static, bitmap 150
inline constexpr ControlId IDC_RADIO_PICTURE = 1151;  // picture static, bitmap 134
inline constexpr ControlId IDC_CHANNEL_NUMBER = 1105;  // colour label, "رقم القناة" until shown
inline constexpr ControlId IDC_SATELLITE_BANNER = 1020;  // colour label, "أسم القمر الصناعى"
inline constexpr ControlId IDC_TRANSPONDER_SELECTOR = 1045;  // combo, one entry per transponder
inline constexpr ControlId IDC_CHANNEL_NAME_LABEL = 1025;  // "قائمة قنوات التلفزيون"
inline constexpr ControlId IDC_CHANNEL_NAME = 1026;
inline constexpr ControlId IDC_SERVICE_ID = 1028;  // hex, 4 characters
inline constexpr ControlId IDC_PID_MODE = 1106;    // check box "PID Mode"
inline constexpr ControlId IDC_VIDEO_PID = 1030;
inline constexpr ControlId IDC_CODE_PID = 1000;  // 4 characters
inline constexpr ControlId IDC_AUDIO_PID = 1033;
inline constexpr ControlId IDC_FOURTH_PID_LABEL = 1034;
inline constexpr ControlId IDC_FOURTH_PID = 1035;   // 4 characters
inline constexpr ControlId IDC_HEX_LABEL_1 = 1093;  // the four "[HEX]" labels
inline constexpr ControlId IDC_HEX_LABEL_2 = 1094;
inline constexpr ControlId IDC_HEX_LABEL_3 = 1095;
inline constexpr ControlId IDC_HEX_LABEL_4 = 1096;
inline constexpr ControlId IDC_PID_GROUP = 1036;         // group box around the PIDs
inline constexpr ControlId IDC_FAVOURITES_GROUP = 1037;  // group box "المفضلة"
inline constexpr ControlId IDC_LOCK_GROUP = 1038;        // parental lock group box
inline constexpr ControlId IDC_LOCKED = 1004;            // check box "مغلق"
inline constexpr ControlId IDC_SCRAMBLED = 1007;         // check box "Scrambled"
inline constexpr ControlId IDC_LOCKED_PICTURE = 1103;    // bitmap 153
inline constexpr ControlId IDC_UNLOCKED_PICTURE = 1104;  // bitmap 154

// Favourite group k (0..9): its check box and the static with the channel's
// place in that group.
inline constexpr ControlId IDC_FAVOURITE_CHECK[10] = {1001, 1002, 1003, 1006, 1008,
                                                      1005, 1010, 1011, 1012, 1013};
inline constexpr ControlId IDC_FAVOURITE_POSITION[10] = {1098, 1099, 1100, 1101, 1102,
                                                         1109, 1111, 1112, 1113, 1114};

// Transponder page (1073, 1057, 1058, 1076, 1089, 1067 are on the satellite page too).
inline constexpr ControlId IDC_SATELLITE_NAME_LABEL = 1073;  // "إسم القمر"
inline constexpr ControlId IDC_SATELLITE_SELECTOR = 1049;    // combo, hidden on the satellite page
inline constexpr ControlId IDC_TRANSPONDER_COUNT_LABEL = 1057;
inline constexpr ControlId IDC_TRANSPONDER_NUMBER = 1058;  // transponder index + 1
inline constexpr ControlId IDC_FREQUENCY_ORDER_LABEL = 1076;
inline constexpr ControlId IDC_FREQUENCY_ORDER = 1089;  // hex, 4 characters
inline constexpr ControlId IDC_NETWORK_ID_LABEL = 1078;
inline constexpr ControlId IDC_NETWORK_ID = 1091;  // hex, 4 characters
inline constexpr ControlId IDC_FREQUENCY_LABEL = 1079;
inline constexpr ControlId IDC_FREQUENCY = 1080;  // decimal, 5 characters
inline constexpr ControlId IDC_POLARISATION_LABEL = 1081;
inline constexpr ControlId IDC_POLARISATION = 1082;  // combo "Horizontal", "Vertical"
inline constexpr ControlId IDC_SYMBOL_RATE_LABEL = 1083;
inline constexpr ControlId IDC_SYMBOL_RATE = 1051;  // decimal, 5 characters
inline constexpr ControlId IDC_FEC_LABEL = 1084;
inline constexpr ControlId IDC_FEC = 1052;  // combo "AUTO", "1/2" .. "7/8"
inline constexpr ControlId IDC_PAGE_GROUP = 1067;

// Satellite page.
inline constexpr ControlId IDC_SATELLITE_NAME = 1056;
inline constexpr ControlId IDC_POSITION_LABEL = 1061;
inline constexpr ControlId IDC_POSITION = 1062;       // "%05.1fE" / "%05.1fW"
inline constexpr ControlId IDC_POSITION_HINT = 1107;  // "( 180.0E ~ 180.0W )"

// Labels that the form carries without an identifier of their own. They get
// one here so that switching pages can show and hide them with their fields.
inline constexpr ControlId IDC_FILE_PATH_LABEL = 20001;             // "File Path"
inline constexpr ControlId IDC_TRANSPONDER_SELECTOR_LABEL = 20002;  // "تردد القنوات"
inline constexpr ControlId IDC_SERVICE_ID_LABEL = 20003;            // "رقم الخدمة [HEX]"
inline constexpr ControlId IDC_VIDEO_PID_LABEL = 20004;             // "الصورة PID"
inline constexpr ControlId IDC_CODE_PID_LABEL = 20005;              // "الرمز PID"
inline constexpr ControlId IDC_AUDIO_PID_LABEL = 20006;             // "الصوت PID"

}  // namespace form

// ---------------------------------------------------------------------------
// Favourites dialog 166 (CFavoriteDlg). Index k is the favourite group 0..9.
namespace favourites {
inline constexpr ControlId IDC_GROUP_SELECTOR[10] = {1132, 1133, 1047, 1048, 1049,
                                                     1050, 1051, 1052, 1053, 1054};
inline constexpr ControlId IDC_GROUP_NAME[10] = {1148, 1149, 1159, 1160, 1161,
                                                 1162, 1163, 1164, 1165, 1166};
inline constexpr ControlId IDC_TV_LIST[10] = {1087, 1113, 1114, 1089, 1090,
                                              1091, 1092, 1093, 1094, 1095};
inline constexpr ControlId IDC_RADIO_LIST[10] = {1088, 1115, 1116, 1118, 1119,
                                                 1120, 1121, 1122, 1123, 1124};
inline constexpr ControlId IDC_TV_MODE = 1046;      // radio button "قنوات التلفزيون"
inline constexpr ControlId IDC_RADIO_MODE = 1117;   // radio button "إذاعات الراديو"
inline constexpr ControlId IDC_TV_LABEL = 1110;     // "تلفزيون :", shown in TV mode
inline constexpr ControlId IDC_RADIO_LABEL = 1111;  // "ردايو :", shown in radio mode
inline constexpr ControlId IDC_GROUP_CAPTION = 1134;  // the selected group's name
inline constexpr ControlId IDC_SAVE = IDOK;           // "حفظ التغيرات"
inline constexpr ControlId IDC_CANCEL = IDCANCEL;     // present, not visible
}  // namespace favourites

// ---------------------------------------------------------------------------
// Port settings dialog 137.
namespace port {
inline constexpr ControlId IDC_PORT = 1012;   // "Com1" .. "Com4", sorted, editable
inline constexpr ControlId IDC_SPEED = 1013;  // "110" .. "256000", editable
inline constexpr ControlId IDC_OFF = 1014;    // radio group Off / On
inline constexpr ControlId IDC_ON = 1015;
inline constexpr ControlId IDC_DATA_BITS = 1016;  // "4" .. "8"
inline constexpr ControlId IDC_PARITY = 1017;     // "Even", "Odd", "None", "Mark", "Space"
inline constexpr ControlId IDC_STOP_BITS = 1018;  // "1", "1.5", "2"
// Flow control radio group: None, Xon/Xoff, RTS, Xon/RTS (index 0..3).
inline constexpr ControlId IDC_FLOW[4] = {1019, 1020, 1021, 1022};
inline constexpr ControlId IDC_SAVE = IDOK;        // "حفظ"
inline constexpr ControlId IDC_CANCEL = IDCANCEL;  // "إلغاء"
}  // namespace port

// ---------------------------------------------------------------------------
// Download progress dialog 186 (PC to receiver).
namespace download {
inline constexpr ControlId IDC_MODEL_ID = 1006;    // "Model ID :"
inline constexpr ControlId IDC_HW_VERSION = 1137;  // "H / W : "
inline constexpr ControlId IDC_SW_VERSION = 1015;  // "S / W : "
inline constexpr ControlId IDC_COM_PORT = 1005;    // "Com Port :"
inline constexpr ControlId IDC_SPEED = 1142;       // "Speed : "
inline constexpr ControlId IDC_PROGRESS = 1027;    // progress bar 0 .. total
inline constexpr ControlId IDC_POSITION = 1030;    // "%d/%d" position text, before "bytes"
inline constexpr ControlId IDC_RATE = 1146;        // transfer rate and time left (own choice)
inline constexpr ControlId IDC_CANCEL = IDCANCEL;
}  // namespace download

// ---------------------------------------------------------------------------
// Upload progress dialog 190 (receiver to PC).
namespace upload {
inline constexpr ControlId IDC_OUTPUT_PATH = 1143;
inline constexpr ControlId IDC_BYTE_COUNT = 1144;  // "%d " before the label "bytes"
inline constexpr ControlId IDC_EMPTY = 1145;
inline constexpr ControlId IDC_RATE = 1146;        // transfer rate and time left (own choice)
inline constexpr ControlId IDC_CANCEL = IDCANCEL;  // "إلغاء سحب القنوات"
}  // namespace upload

// ---------------------------------------------------------------------------
// Search dialog 194.
namespace search {
inline constexpr ControlId IDC_NAME = 1030;  // the name typed by the user
inline constexpr ControlId IDC_OK = IDOK;  // "أضغط هنا بعد كتابة أسم القناة"
}  // namespace search

// ---------------------------------------------------------------------------
// Apply Order dialog 210: a reference's order for the open file.
namespace apply_order {
inline constexpr ControlId IDC_SOURCE = 1001;  // the reference's path and what it is
inline constexpr ControlId IDC_LIST = 1002;    // combo: the lists to reorder
inline constexpr ControlId IDC_BY_IDENTITY = 1003;
inline constexpr ControlId IDC_BY_NAME = 1004;
inline constexpr ControlId IDC_UNMATCHED_OPEN = 1005;       // open file's channels without partner
inline constexpr ControlId IDC_UNMATCHED_REFERENCE = 1006;  // reference channels the file lacks
inline constexpr ControlId IDC_NAMES = 1007;                // check boxes of the options
inline constexpr ControlId IDC_LOCKS = 1008;
inline constexpr ControlId IDC_FAVOURITES = 1009;
inline constexpr ControlId IDC_UNMATCHED_LAST = 1010;  // radio buttons: where the unmatched go
inline constexpr ControlId IDC_UNMATCHED_FIRST = 1011;
inline constexpr ControlId IDC_UNMATCHED_LIST = 1012;  // the unmatched channels of both sides
inline constexpr ControlId IDC_APPLY = IDOK;
inline constexpr ControlId IDC_CANCEL = IDCANCEL;
}  // namespace apply_order

// ---------------------------------------------------------------------------
// Compare dialog 211: the open file against another.
namespace compare {
inline constexpr ControlId IDC_SOURCE = 1001;    // the other file's path
inline constexpr ControlId IDC_TABS = 1002;      // added, removed, moved, renamed, changed
inline constexpr ControlId IDC_CHANNELS = 1003;  // the channels of the tab on show
inline constexpr ControlId IDC_SUMMARY = 1004;   // satellites, transponders, groups
inline constexpr ControlId IDC_CLOSE = IDCANCEL;
}  // namespace compare

// ---------------------------------------------------------------------------
// Menu, toolbar and accelerator commands.
namespace cmd {
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_SAVE = 32792;  // the menu's save (Ctrl+S sends IDC_SAVE instead)
inline constexpr int ID_FILE_PRINT = 57607;
inline constexpr int ID_FILE_PRINT_PREVIEW = 57609;
inline constexpr int ID_FILE_PRINT_SETUP = 57606;
inline constexpr int ID_APP_EXIT = 57665;
inline constexpr int ID_EDIT_NEW = 32812;
inline constexpr int ID_EDIT_CUT_CHANNEL = 32786;
inline constexpr int ID_EDIT_PASTE_CHANNEL = 32811;
inline constexpr int ID_EDIT_DELETE = 32776;
inline constexpr int ID_EDIT_KEEP_ORDER = 32816;   // "Keep This Order" of a sorted list
inline constexpr int ID_FILE_APPLY_ORDER = 32830;  // "Apply Order From..."
inline constexpr int ID_FILE_COMPARE = 32831;      // "Compare With..."
inline constexpr int ID_VIEW_TV = 32789;
inline constexpr int ID_VIEW_RADIO = 32790;
inline constexpr int ID_VIEW_FAVOURITES = 32788;
inline constexpr int ID_PORT_OPEN_CLOSE = 32814;
inline constexpr int ID_PORT_SETTINGS = 32813;
inline constexpr int ID_DOWNLOAD = 32784;  // PC to receiver
inline constexpr int ID_UPLOAD = 32815;    // receiver to PC
inline constexpr int ID_VIEW_TOOLBAR = 59392;
inline constexpr int ID_VIEW_STATUS_BAR = 59393;
inline constexpr int ID_APP_ABOUT = 57664;
// Undo and Redo of the edit history (Edit menu, Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z).
inline constexpr int ID_EDIT_UNDO = 57643;
inline constexpr int ID_EDIT_REDO = 57644;
// The file's backups (File menu).
inline constexpr int ID_FILE_RESTORE_BACKUP = 32840;
inline constexpr int ID_FILE_REVERT = 32841;
inline constexpr int ID_FILE_BACKUPS_KEPT = 32842;
// Standard editing commands that only the accelerator table sends; nothing
// in the program handles them.
inline constexpr int ID_EDIT_COPY = 57634;
inline constexpr int ID_EDIT_CUT = 57635;
inline constexpr int ID_EDIT_PASTE = 57637;
inline constexpr int ID_NEXT_PANE = 57680;
inline constexpr int ID_PREV_PANE = 57681;
}  // namespace cmd

// Items of the lists' context menus (the value the pop-up menu returns).
namespace context {
inline constexpr int ID_TITLE = 0;
inline constexpr int ID_NEW = 1;
inline constexpr int ID_CUT = 2;
inline constexpr int ID_PASTE = 3;
inline constexpr int ID_DELETE = 4;
}  // namespace context

// ---------------------------------------------------------------------------
// Bitmaps and the resource shared by menu, accelerators, icon and document string.
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int IDR_TOOLBAR = 129;
inline constexpr int IDB_RADIO = 134;      // radio picture on the channel page
inline constexpr int IDB_TV = 150;         // TV picture on the channel page
inline constexpr int IDB_SCRAMBLED = 152;  // list image list: image 0 marks a scrambled row
inline constexpr int IDB_LOCKED = 153;
inline constexpr int IDB_UNLOCKED = 154;
// Image index in the lists' image list; kNoImage leaves the row without one.
inline constexpr int kScrambledImage = 0;
inline constexpr int kNoImage = -1;

// ---------------------------------------------------------------------------
// Strings.
inline constexpr int IDS_STATUS_SETTING = 129;           // width of the second status pane
inline constexpr int AFX_IDS_APP_TITLE = 57344;          // "LuEdit"
inline constexpr int AFX_IDP_PARSE_STRING_SIZE = 61716;  // text too long for its field

inline constexpr char kAppTitle[] = "LuEdit";
inline constexpr char kQuestionCaption[] = "Zo Editor";
inline constexpr char kSaveChangesQuestion[] = "Save changes to the All Data Channels?";
inline constexpr char kStatusSettingText[] = "Setting : 115200, none, 8, 1";
inline constexpr char kDocumentString[] =
    "\n\nZoEdit\n\n\nZoEdit.Document\nLuEdit Document";  // window title filled by the shell
// The document never gets a name of its own: the framework's title for it.
inline constexpr char kDocumentTitle[] = "Untitled";
inline constexpr char kRegistryKey[] = "Local AppWizard-Generated Applications";
// Text of string 61716 (the framework's prompt for a too long entry).
inline constexpr char kTextTooLongPrompt[] = "Please enter no more than %d characters.";

// Tab captions of the main form, in tab order (the current page index).
inline constexpr const char* kTabCaptions[3] = {"Channel", "Transponder", "Satellite"};

// The label of the channel name (static 1025) while a TV or a radio channel is shown.
inline constexpr char kTvChannelNameLabel[] = "قائمة قنوات التلفزيون";
inline constexpr char kRadioChannelNameLabel[] = "قائمة إذاعات الراديو";

}  // namespace zoedit::ui
