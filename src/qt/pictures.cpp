#include "qt/pictures.h"

#include <QHash>

#include "ui/resource_ids.h"

// The pictures live in a static library, whose resources must be registered by hand.
static void registerPictures() {
    Q_INIT_RESOURCE(zoedit);
}

namespace zoedit::qt {

void ensureResources() {
    static const bool done = (registerPictures(), true);
    (void)done;
}

QString bitmapPath(int bitmap_id) {
    switch (bitmap_id) {
        case ui::IDB_RADIO:
            return QStringLiteral(":/icons/radio.svg");
        case ui::IDB_TV:
            return QStringLiteral(":/icons/tv.svg");
        case ui::IDB_SCRAMBLED:
            return QStringLiteral(":/icons/scrambled.svg");
        case ui::IDB_LOCKED:
            return QStringLiteral(":/icons/locked.svg");
        case ui::IDB_UNLOCKED:
            return QStringLiteral(":/icons/unlocked.svg");
        case ui::IDR_MAINFRAME:
            return QStringLiteral(":/icons/app.svg");
        default:
            return {};
    }
}

QPixmap bitmap(int bitmap_id, QSize size) {
    ensureResources();
    // Rendered once per id and size: the lists ask for the same picture on every row.
    static QHash<QPair<int, QPair<int, int>>, QPixmap> cache;
    const auto key = qMakePair(bitmap_id, qMakePair(size.width(), size.height()));
    if (auto it = cache.constFind(key); it != cache.constEnd()) return *it;
    const QString path = bitmapPath(bitmap_id);
    QPixmap pixmap = path.isEmpty() ? QPixmap() : QIcon(path).pixmap(size);
    cache.insert(key, pixmap);
    return pixmap;
}

QIcon icon(const QString& name) {
    ensureResources();
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(name));
}

}  // namespace zoedit::qt
