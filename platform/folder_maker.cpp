#include "platform/folder_maker.h"

#include "platform/os_failure.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <sys/stat.h>

namespace platform {

void FolderMaker::make(const QString& folder)
{
    const QString absolute = QDir::cleanPath(QDir(folder).absolutePath());
    QString made;
    for (const QString& part : absolute.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        made += QLatin1Char('/') + part;
        const QByteArray path = QFile::encodeName(made);
        if (::mkdir(path.constData(), 0777) == 0) {
            continue;
        }
        const int error = errno;
        struct stat existing {};
        if (error == EEXIST && ::stat(path.constData(), &existing) == 0 && S_ISDIR(existing.st_mode)) {
            continue;
        }
        // A file in the way says EEXIST, which is no reason a user knows.
        throw osFailure(error == EEXIST ? ENOTDIR : error, QStringLiteral("cannot make the folder"),
                        QDir::toNativeSeparators(made));
    }
}

} // namespace platform
