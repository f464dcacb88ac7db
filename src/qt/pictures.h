// The program's bitmaps by resource identifier, drawn from the SVG pictures
// bundled in the resources.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace zoedit::qt {

// Registers the bundled pictures and forms; safe to call any number of times.
void ensureResources();
// Resource path of a bitmap identifier (IDB_...), empty when unknown.
QString bitmapPath(int bitmap_id);
// The bitmap rendered at the given size; a null pixmap for unknown ids.
QPixmap bitmap(int bitmap_id, QSize size = QSize(32, 32));
// A picture by its file stem in resources/icons ("open", "save", ...).
QIcon icon(const QString& name);

}  // namespace zoedit::qt
