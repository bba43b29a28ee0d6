#pragma once
// A whole file read at once, for our programs' own files and for the checks of the tests.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace plx::sim {

// The file's bytes; empty when it cannot be read.
inline QByteArray wholeFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace plx::sim
