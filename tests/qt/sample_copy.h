// A fresh, writable copy of the bundled sample for a window test to edit.
#pragma once

#include <QFile>
#include <QString>
#include <QTemporaryDir>

inline bool copySampleInto(const QTemporaryDir& dir, QString& path) {
    path = dir.filePath(QStringLiteral("sample.bin"));
    QFile::remove(path);
    if (!QFile::copy(QStringLiteral(ZOEDIT_SOURCE_DIR "/examples/sample.bin"), path)) return false;
    return QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}
