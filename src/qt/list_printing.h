// The three print commands of the main window (print, print preview, print
// setup) on one printer that keeps its setup for the whole run. They print
// the list in use (where the selection changed last, or an empty list the
// user switched to), or the list on show when no row is selected.
#pragma once

#include <QObject>
#include <QPrinter>
#include <string>

#include "database/channel_database.h"
#include "print/list_printer.h"

class QWidget;

namespace zoedit {
class CZoEditView;
}

namespace zoedit::qt {

class QtForm;
class QtListControl;

class ListPrinting : public QObject {
    Q_OBJECT
public:
    ListPrinting(QWidget* window, QtForm& form);

    // Shown at the right of the title band (the view's printing hook).
    void setDocumentTitle(const std::string& title);

    // Returns false for commands that are not printing's.
    bool onCommand(int id, CZoEditView& view);

    QPrinter& printer() { return m_printer; }
    // The list that the print commands would print now.
    ChannelKind listToPrint(const CZoEditView& view) const;

private:
    void print(CZoEditView& view);
    void preview(CZoEditView& view);
    void setup();
    QtListControl* listControl(const CZoEditView& view) const;
    // Tells the user when the list to print is empty.
    bool hasRowsToPrint(CZoEditView& view);
    // Draws the list on `printer`; tells the user and returns false when
    // nothing could be printed.
    bool paint(QPrinter& printer, CZoEditView& view, int from, int to);
    void tell(CZoEditView& view, const QString& message);

    QWidget* m_window;
    QtForm& m_form;
    QPrinter m_printer;
    print::CListPrinter m_listPrinter;
};

}  // namespace zoedit::qt
