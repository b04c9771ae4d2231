#include "platform/os_failure.h"

#include "platform/text_conversion.h"

#include <cerrno>
#include <cstring>

namespace platform {

using generation::SketchError;

namespace {

int numberFor(int osError)
{
    switch (osError) {
    case ENOENT:
        return SketchError::kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ENOTDIR:
    case ENXIO:
    case ETXTBSY:
    case EBUSY:
    case ELOOP:
    case ENAMETOOLONG:
        return SketchError::kPathAccess;
    case ENOSPC:
    case EDQUOT:
        return SketchError::kDiskFull;
    case ENOMEM:
        return SketchError::kOutOfMemory;
    default:
        return SketchError::kDeviceIo;
    }
}

QString kindFor(int number)
{
    switch (number) {
    case SketchError::kPathNotFound:
        return QStringLiteral("Path not found");
    case SketchError::kPathAccess:
        return QStringLiteral("Path/File access error");
    case SketchError::kDiskFull:
        return QStringLiteral("Disk full");
    case SketchError::kOutOfMemory:
        return QStringLiteral("Out of memory");
    default:
        return QStringLiteral("Device I/O error");
    }
}

} // namespace

SketchError osFailure(int osError, const QString& action, const QString& path)
{
    const int number = numberFor(osError);
    const QString reason = QString::fromLocal8Bit(std::strerror(osError));
    return SketchError(number, toUtf8(QStringLiteral("%1: %2 %3 (%4)").arg(kindFor(number), action, path, reason)),
                       osError, toUtf8(path));
}

} // namespace platform
