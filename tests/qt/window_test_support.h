// What the window tests share: settings kept apart from the user's, a fresh
// writable copy of the bundled sample, answering the next modal dialog, and
// reading a file back.
#pragma once

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

// Window size, columns and the file dialog's history go to Qt's test
// locations, empty at the start of the run.
inline void useTestSettings(const QString& organization = QStringLiteral("ZoEditTest")) {
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setOrganizationName(organization);
    QSettings().clear();
}

inline bool copySampleInto(const QTemporaryDir& dir, QString& path) {
    path = dir.filePath(QStringLiteral("sample.bin"));
    QFile::remove(path);
    if (!QFile::copy(QStringLiteral(ZOEDIT_SOURCE_DIR "/examples/sample.bin"), path)) return false;
    return QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

// Waits (up to `attempts` times 10 ms) for the next modal dialog of type T
// and lets `act` answer it.
template <typename T>
void whenModal(std::function<void(T*)> act, int attempts = 1000) {
    QTimer::singleShot(10, [act, attempts] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            act(dialog);
        } else if (attempts > 0) {
            whenModal<T>(act, attempts - 1);
        }
    });
}

inline QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
