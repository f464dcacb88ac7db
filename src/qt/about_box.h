// The modal about box: the application icon, two lines of credits and a
// button that closes it.
#pragma once

#include <QDialog>

namespace zoedit::qt {

class CAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit CAboutBox(QWidget* parent = nullptr);
};

}  // namespace zoedit::qt
