// `zoedit --print-pdf OUT.pdf [--list tv|radio] FILE`: the printed pages of a
// channel list written to a PDF, without a window. OUT appears complete or
// not at all.
#pragma once

#include <QString>

namespace zoedit::qt {

// Returns the exit status: 0 when OUT was written, 1 (after one line on
// stderr) when FILE is refused, the list is empty, or OUT cannot be written.
int printListToPdf(const QString& out, const QString& list, const QString& file);

}  // namespace zoedit::qt
