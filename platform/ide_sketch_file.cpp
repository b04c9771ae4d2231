#include "platform/ide_sketch_file.h"

#include "generation/sketch_error.h"
#include "platform/output_file.h"
#include "platform/text_conversion.h"

#include <QDir>
#include <QFileInfo>

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

void IdeSketchFile::save(const QString& path, const QString& text)
{
    const QString folder = QFileInfo(path).path();
    if (!QDir().mkpath(folder)) {
        fail(SketchError::kPathNotFound, QStringLiteral("Path not found: cannot make the folder"), folder,
             QStringLiteral("it may be a file, or not writable"));
    }
    OutputFile file(path);
    file.write(text.toUtf8());
    file.commit();
}

} // namespace platform
