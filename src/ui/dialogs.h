// Message boxes, file dialogs and modal dialogs. Every call blocks until the
// user answers (a nested event loop on the Qt side).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/form.h"
#include "ui/messages.h"

namespace zoedit::ui {

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageIcon { None, Information, Exclamation, Warning, Error, Question };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct MessageBoxRequest {
    std::string text;
    std::string caption;  // the application title "LuEdit" when empty
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;

    bool operator==(const MessageBoxRequest&) const = default;
};

// File dialog flags, with their classic values.
inline constexpr unsigned OFN_READONLY = 0x1;
inline constexpr unsigned OFN_OVERWRITEPROMPT = 0x2;
inline constexpr unsigned OFN_HIDEREADONLY = 0x4;

struct FileDialogRequest {
    bool open = true;               // open dialog, else save-as
    std::string title;              // empty for the platform's own
    std::string default_extension;  // without the dot, appended when the name has none
    std::string initial_name;
    // Pairs "description|pattern|" end to end, e.g. "Text (*.txt)|*.txt|All|*.*|".
    std::string filter;
    unsigned flags = 0;

    bool operator==(const FileDialogRequest&) const = default;
};

// One line chosen from a list (the backups of a file, a number of backups).
struct ChoiceRequest {
    std::string title;
    std::string prompt;
    std::vector<std::string> items;  // UTF-8, one a line
    int initial = 0;                 // the line selected when the list opens

    bool operator==(const ChoiceRequest&) const = default;
};

// Keys a modal dialog may take before the window system's own handling
// (Enter pressing the default button, Escape closing).
enum class DialogKey { Enter, Escape, Undo };

// Given to a modal dialog's behaviour while it runs.
class DialogHost {
public:
    virtual ~DialogHost() = default;
    virtual Form& form() = 0;
    // Ends the modal loop; runModal returns the result.
    virtual void endDialog(int result) = 0;
};

// The behaviour of a modal dialog; the platform builds the template
// dialogId() and forwards its events.
class ModalDialog {
public:
    virtual ~ModalDialog() = default;
    virtual int dialogId() const = 0;
    virtual void onInitDialog(DialogHost& host) = 0;
    virtual void onEvent(DialogHost& host, const ControlEvent& event) = 0;
    // A program message routed to the dialog while it runs (progress, close).
    virtual void onMessage(DialogHost& /*host*/, const Message& /*message*/) {}
    // A key the dialog may take; true when it took it. Escape that the dialog
    // leaves goes to onClose.
    virtual bool onKey(DialogHost& /*host*/, DialogKey /*key*/) { return false; }
    // Closing by the window's close box or Escape: the default ends with IDCANCEL.
    virtual void onClose(DialogHost& host) { host.endDialog(IDCANCEL); }
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual MessageAnswer messageBox(const MessageBoxRequest& request) = 0;
    // The chosen path (UTF-8), or nullopt when the user cancels.
    virtual std::optional<std::string> fileDialog(const FileDialogRequest& request) = 0;
    // Runs the dialog modally; returns the value given to endDialog.
    virtual int runModal(ModalDialog& dialog) = 0;
    // The index of the chosen line, or nullopt when the user cancels.
    virtual std::optional<int> chooseItem(const ChoiceRequest& request) = 0;
};

}  // namespace zoedit::ui
