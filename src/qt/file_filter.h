// The "Description|pattern|..." filters of the file dialogs in Qt's form.
#pragma once

#include <QString>
#include <QStringList>
#include <string_view>

namespace zoedit::qt {

// "Channel (*.bin)|*.bin|All|*.*|" -> {"Channel (*.bin)", "All (*.*)"}. A
// description that already ends with its patterns in parentheses is kept
// as it is; several patterns separated by ';' become Qt's space-separated list.
QStringList translateFileFilter(std::string_view filter);

}  // namespace zoedit::qt
