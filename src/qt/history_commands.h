// Undo and Redo in the window: the Edit menu items, their texts naming the
// step, and the keys, which act on the edit history only while no writable
// text edit has the focus (a text edit keeps its own undo).
#pragma once

#include <optional>

namespace zoedit {
class CHistoryBinding;
}

namespace zoedit::qt {

class CMainFrame;

class HistoryCommands {
public:
    HistoryCommands(CMainFrame& frame, CHistoryBinding& binding)
        : m_frame(frame), m_binding(binding) {}

    // True when `command` is Undo or Redo (and it has been carried out).
    bool handle(int command);
    // Enabled state of Undo and Redo, whose menu texts follow the history;
    // nullopt for every other command.
    std::optional<bool> enabled(int command);

private:
    CMainFrame& m_frame;
    CHistoryBinding& m_binding;
};

}  // namespace zoedit::qt
