#include "platform/ide_sketch_file.h"

#include "generation/sketch_error.h"
#include "platform/text_conversion.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace platform {

using generation::SketchError;

namespace {

const QString kSuffix = QStringLiteral(".ino");

[[noreturn]] void fail(int number, const QString& what, const QString& path, const QString& reason)
{
    throw SketchError(number, toUtf8(QStringLiteral("%1 %2 (%3)").arg(what, QDir::toNativeSeparators(path), reason)));
}

} // namespace

QString IdeSketchFile::pathFor(const QString& chosen)
{
    const QFileInfo info(QDir::cleanPath(chosen));
    QString name = info.fileName();
    if (name.endsWith(kSuffix, Qt::CaseInsensitive)) {
        name.chop(kSuffix.size());
    }
    QString folder = info.path();
    if (QFileInfo(folder).fileName() != name) {
        folder += QLatin1Char('/') + name;
    }
    return folder + QLatin1Char('/') + name + kSuffix;
}

// TODO(lead): switch to platform::OutputFile, the project's checked write
// path, once it is on this branch; this keeps the same contract meanwhile.
void IdeSketchFile::save(const QString& path, const QString& text)
{
    const QString folder = QFileInfo(path).path();
    if (!QDir().mkpath(folder)) {
        fail(SketchError::kPathNotFound, QStringLiteral("Path not found: cannot make the folder"), folder,
             QStringLiteral("it may be a file, or not writable"));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        fail(SketchError::kPathAccess, QStringLiteral("Path/File access error: cannot write"), path, file.errorString());
    }
    const QByteArray bytes = text.toUtf8();
    // QSaveFile buffers: the flush is where a full disk or a file size
    // limit shows, and commit() renames only a file known to be complete.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        fail(SketchError::kDeviceIo, QStringLiteral("Device I/O error: write failed for"), path, file.errorString());
    }
    if (!file.commit()) {
        fail(SketchError::kDeviceIo, QStringLiteral("Device I/O error: cannot replace"), path, file.errorString());
    }
}

} // namespace platform
