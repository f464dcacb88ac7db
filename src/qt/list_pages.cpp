#include "qt/list_pages.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include "qt/painter_device_context.h"

namespace zoedit::qt {

QString printMessage(print::PrintStatus status) {
    const std::string_view message = print::printStatusMessage(status);
    return QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size()));
}

QString paintListPages(QPagedPaintDevice& device, print::CListPrinter& printer,
                       print::PrintSource source, const QFont& listFont, int from, int to) {
    PainterDeviceContext dc(device, listFont);
    printer.reset();
    const print::PrintStatus status = printer.begin(dc, std::move(source));
    if (status != print::PrintStatus::Ok) return printMessage(status);
    const int first = from > 0 ? from : 1;
    const int last = to > 0 ? std::min(to, printer.pageCount()) : printer.pageCount();
    QPainter painter;
    if (!painter.begin(&device)) {
        printer.end(dc);
        return QStringLiteral("The printer could not be started.");
    }
    dc.setPainter(&painter);
    for (int page = first; page <= last; ++page) {
        if (page > first) device.newPage();
        printer.printPage(dc, page);
    }
    dc.setPainter(nullptr);
    painter.end();
    printer.end(dc);
    return {};
}

}  // namespace zoedit::qt
