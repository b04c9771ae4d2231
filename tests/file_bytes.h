#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace tests {

// The bytes of a file, or nothing when it cannot be read.
inline QByteArray readAll(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

} // namespace tests
