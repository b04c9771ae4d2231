#include "platform/ide_sketch_file.h"

#include "platform/folder_maker.h"
#include "platform/output_file.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

namespace {

const QString kSuffix = QStringLiteral(".ino");

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
    FolderMaker::make(QFileInfo(path).path());
    OutputFile file(path);
    file.write(text.toUtf8());
    file.commit();
}

} // namespace platform
