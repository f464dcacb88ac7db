#include "qt/backup_setting.h"

#include <QSettings>

#include "database/backup_store.h"

namespace zoedit::qt {

namespace {
const char kKey[] = "backups/kept";
}

int loadBackupsKept() {
    QSettings settings;
    bool ok = false;
    const int kept = settings.value(QLatin1String(kKey), kDefaultBackupsKept).toInt(&ok);
    return ok && kept >= 0 ? kept : kDefaultBackupsKept;
}

void storeBackupsKept(int kept) {
    QSettings settings;
    settings.setValue(QLatin1String(kKey), kept);
}

}  // namespace zoedit::qt
