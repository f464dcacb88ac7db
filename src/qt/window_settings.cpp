#include "qt/window_settings.h"

#include <QMainWindow>
#include <QSettings>
#include <QVariantList>

#include "qt/form_binder.h"
#include "qt/qt_list_control.h"
#include "ui/resource_ids.h"

namespace zoedit::qt {

namespace {

using namespace ui::form;

constexpr char kGeometryKey[] = "window/geometry";

QString columnsKey(ui::ControlId list) {
    return QStringLiteral("lists/%1/columnWidths").arg(list);
}

}  // namespace

bool restoreWindowSettings(QMainWindow& frame, QtForm& form) {
    QSettings settings;
    for (ui::ControlId id : {IDC_TV_LIST, IDC_RADIO_LIST}) {
        QtListControl* list = form.qtList(id);
        const QVariantList widths = settings.value(columnsKey(id)).toList();
        if (!list || widths.size() != list->columnCount()) continue;
        for (int c = 0; c < widths.size(); ++c) {
            const int width = widths[c].toInt();
            if (width > 0) list->setColumnWidth(c, width);
        }
    }
    // restoreGeometry also brings the window back onto a screen that is
    // still there, and maximised if it was closed so.
    return frame.restoreGeometry(settings.value(QLatin1String(kGeometryKey)).toByteArray());
}

void saveWindowSettings(const QMainWindow& frame, const QtForm& form) {
    QSettings settings;
    settings.setValue(QLatin1String(kGeometryKey), frame.saveGeometry());
    for (ui::ControlId id : {IDC_TV_LIST, IDC_RADIO_LIST}) {
        const QtListControl* list = form.qtList(id);
        if (!list) continue;
        QVariantList widths;
        for (int c = 0; c < list->columnCount(); ++c) widths.append(list->column(c).width);
        settings.setValue(columnsKey(id), widths);
    }
}

}  // namespace zoedit::qt
