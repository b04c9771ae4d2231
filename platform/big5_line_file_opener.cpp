#include "platform/big5_line_file_opener.h"

#include "generation/sketch_error.h"
#include "platform/big5_line_file.h"
#include "platform/text_conversion.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

using generation::SketchError;

std::unique_ptr<generation::LineFile> Big5LineFileOpener::open(const std::string& path)
{
    if (path == kStandardOutput) {
        return Big5LineFile::toStandardOutput();
    }
    const QString filePath = fromUtf8(path);
    const QFileInfo file(filePath);
    const QFileInfo folder(file.absolutePath());
    const QString shownFolder = QDir::toNativeSeparators(folder.absoluteFilePath());
    const QString shownFile = QDir::toNativeSeparators(filePath);
    if (!folder.exists()) {
        throw SketchError(SketchError::kPathNotFound,
                          toUtf8(QStringLiteral("Path not found: the folder %1 does not exist").arg(shownFolder)));
    }
    if (!folder.isDir()) {
        throw SketchError(SketchError::kPathAccess,
                          toUtf8(QStringLiteral("Path/File access error: %1 is a file, not a folder").arg(shownFolder)));
    }
    if (file.isDir()) {
        throw SketchError(SketchError::kPathAccess,
                          toUtf8(QStringLiteral("Path/File access error: %1 is a folder, not a file").arg(shownFile)));
    }
    return std::make_unique<Big5LineFile>(filePath);
}

} // namespace platform
