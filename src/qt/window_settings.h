// The main window's place, size and maximised state and the widths of the
// channel lists' columns, kept between runs in the user's settings.
#pragma once

class QMainWindow;

namespace zoedit::qt {

class QtForm;

// Puts the window and the list columns back as they were left; false when
// nothing was kept (the first run), and the window is then left alone.
bool restoreWindowSettings(QMainWindow& frame, QtForm& form);
void saveWindowSettings(const QMainWindow& frame, const QtForm& form);

}  // namespace zoedit::qt
