#include "qt/list_printing.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QTableView>

#include "print/print_sources.h"
#include "qt/form_binder.h"
#include "qt/list_pages.h"
#include "qt/qt_list_control.h"
#include "ui/resource_ids.h"
#include "view/zoedit_view.h"

namespace zoedit::qt {

ListPrinting::ListPrinting(QWidget* window, QtForm& form)
    : QObject(window), m_window(window), m_form(form), m_printer(QPrinter::HighResolution) {}

void ListPrinting::setDocumentTitle(const std::string& title) {
    m_listPrinter.setDocumentTitle(title);
    m_printer.setDocName(QString::fromStdString(title));
}

ChannelKind ListPrinting::listToPrint(const CZoEditView& view) const {
    const EditorState& state = view.state();
    // The list in use: where the selection changed last, or the list the
    // user switched to even when it had no row to select.
    const bool selected = state.m_nSelectedTvRow.valid() || state.m_nSelectedRadioRow.valid();
    const ActiveList list =
        selected && state.m_activeList != ActiveList::None ? state.m_activeList : state.m_shownList;
    return list == ActiveList::Radio ? ChannelKind::Radio : ChannelKind::Tv;
}

bool ListPrinting::onCommand(int id, CZoEditView& view) {
    switch (id) {
        case ui::cmd::ID_FILE_PRINT:
            print(view);
            return true;
        case ui::cmd::ID_FILE_PRINT_PREVIEW:
            preview(view);
            return true;
        case ui::cmd::ID_FILE_PRINT_SETUP:
            setup();
            return true;
        default:
            return false;
    }
}

void ListPrinting::tell(CZoEditView& view, const QString& message) {
    view.platform().dialogs.messageBox(
        {message.toStdString(), "", ui::MessageButtons::Ok, ui::MessageIcon::Exclamation});
}

QtListControl* ListPrinting::listControl(const CZoEditView& view) const {
    return m_form.qtList(listToPrint(view) == ChannelKind::Tv ? ui::form::IDC_TV_LIST
                                                              : ui::form::IDC_RADIO_LIST);
}

bool ListPrinting::hasRowsToPrint(CZoEditView& view) {
    QtListControl* list = listControl(view);
    if (list && list->rowCount() > 0) return true;
    tell(view, printMessage(print::PrintStatus::EmptyList));
    return false;
}

bool ListPrinting::paint(QPrinter& printer, CZoEditView& view, int from, int to) {
    QtListControl* list = listControl(view);
    if (!list) return false;
    const QFont font = list->view()->font();
    const int screen_char_width = QFontMetrics(font).averageCharWidth();
    const QString error = paintListPages(
        printer, m_listPrinter, print::listControlSource(*list, screen_char_width), font, from, to);
    if (error.isEmpty()) return true;
    tell(view, error);
    return false;
}

void ListPrinting::print(CZoEditView& view) {
    if (!hasRowsToPrint(view)) return;
    QPrintDialog dialog(&m_printer, m_window);
    if (dialog.exec() != QDialog::Accepted) return;
    // Both are 0 unless the user chose a range of pages.
    if (!paint(m_printer, view, m_printer.fromPage(), m_printer.toPage())) m_printer.abort();
}

void ListPrinting::preview(CZoEditView& view) {
    if (!hasRowsToPrint(view)) return;
    QPrintPreviewDialog dialog(&m_printer, m_window);
    dialog.setObjectName(QStringLiteral("printPreview"));
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [this, &view](QPrinter* printer) { paint(*printer, view, 0, 0); });
    dialog.exec();
}

void ListPrinting::setup() {
    QPageSetupDialog dialog(&m_printer, m_window);
    dialog.exec();
}

}  // namespace zoedit::qt
