#include "qt/history_commands.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTextEdit>

#include "qt/main_frame.h"
#include "ui/resource_ids.h"
#include "view/history_binding.h"

namespace zoedit::qt {

namespace {

using ui::cmd::ID_EDIT_REDO;
using ui::cmd::ID_EDIT_UNDO;

// The focused text input that takes typing, if any: its own undo wins.
struct FocusedText {
    QLineEdit* line = nullptr;
    QTextEdit* text = nullptr;
    QPlainTextEdit* plain = nullptr;

    static FocusedText find() {
        FocusedText found;
        QWidget* w = QApplication::focusWidget();
        if (auto* combo = qobject_cast<QComboBox*>(w)) w = combo->lineEdit();
        if (auto* line = qobject_cast<QLineEdit*>(w); line && !line->isReadOnly())
            found.line = line;
        if (auto* text = qobject_cast<QTextEdit*>(w); text && !text->isReadOnly())
            found.text = text;
        if (auto* plain = qobject_cast<QPlainTextEdit*>(w); plain && !plain->isReadOnly())
            found.plain = plain;
        return found;
    }
    bool any() const { return line || text || plain; }
    void undo() const {
        if (line) line->undo();
        if (text) text->undo();
        if (plain) plain->undo();
    }
    void redo() const {
        if (line) line->redo();
        if (text) text->redo();
        if (plain) plain->redo();
    }
    bool canUndo() const {
        return (line && line->isUndoAvailable()) || (text && text->document()->isUndoAvailable()) ||
               (plain && plain->document()->isUndoAvailable());
    }
    bool canRedo() const {
        return (line && line->isRedoAvailable()) || (text && text->document()->isRedoAvailable()) ||
               (plain && plain->document()->isRedoAvailable());
    }
};

constexpr char kUndoTyping[] = "Undo Typing";
constexpr char kRedoTyping[] = "Redo Typing";

}  // namespace

bool HistoryCommands::handle(int command) {
    if (command != ID_EDIT_UNDO && command != ID_EDIT_REDO) return false;
    const FocusedText focused = FocusedText::find();
    const bool undo = command == ID_EDIT_UNDO;
    if (focused.any())
        undo ? focused.undo() : focused.redo();
    else
        undo ? m_binding.undo() : m_binding.redo();
    return true;
}

std::optional<bool> HistoryCommands::enabled(int command) {
    if (command != ID_EDIT_UNDO && command != ID_EDIT_REDO) return std::nullopt;
    const bool undo = command == ID_EDIT_UNDO;
    // With a writable field focused the keys act on the field, and so the
    // menu says and does the same.
    const FocusedText focused = FocusedText::find();
    if (QAction* action = m_frame.commandAction(command)) {
        const std::string text = focused.any() ? (undo ? kUndoTyping : kRedoTyping)
                                 : undo        ? m_binding.undoText()
                                               : m_binding.redoText();
        action->setText(QString::fromStdString(text) +
                        (undo ? QStringLiteral("\tCtrl+Z") : QStringLiteral("\tCtrl+Y")));
    }
    if (focused.any()) return undo ? focused.canUndo() : focused.canRedo();
    return undo ? m_binding.canUndo() : m_binding.canRedo();
}

}  // namespace zoedit::qt
