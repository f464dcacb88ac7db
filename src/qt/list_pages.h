// Drawing a list's pages on a paged Qt device: the one drawing behind paper,
// print preview and PDF.
#pragma once

#include <QFont>
#include <QString>

#include "print/list_printer.h"

class QPagedPaintDevice;

namespace zoedit::qt {

// The user's message for a print status other than Ok.
QString printMessage(print::PrintStatus status);

// Lays `source` out for `device` and draws pages from..to (1-based; 0 for
// the first or the last page). Returns the user's message when nothing
// could be printed (an empty list, a page too small, a device that would
// not start), else an empty text.
QString paintListPages(QPagedPaintDevice& device, print::CListPrinter& printer,
                       print::PrintSource source, const QFont& listFont, int from = 0, int to = 0);

}  // namespace zoedit::qt
