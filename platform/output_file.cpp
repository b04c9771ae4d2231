#include "platform/output_file.h"

#include "generation/sketch_error.h"
#include "platform/os_failure.h"
#include "platform/text_conversion.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

using generation::SketchError;

namespace {

// Writes all of bytes to the descriptor, through partial writes and signals;
// returns 0 or the errno of the write that failed.
int writeAll(int descriptor, const char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t written = ::write(descriptor, data, static_cast<size_t>(size));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (written == 0) {
            return EIO;
        }
        data += written;
        size -= static_cast<qsizetype>(written);
    }
    return 0;
}

const QString kWriteAction = QStringLiteral("cannot write");

} // namespace

OutputFile::OutputFile(const QString& path)
    : m_path(path)
{
    if (path == QLatin1String(kStandardOutput)) {
        m_kind = Kind::StandardOutput;
        return;
    }
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    const QString shownFolder = QDir::toNativeSeparators(folder.absoluteFilePath());
    const QString shownFile = QDir::toNativeSeparators(path);
    if (!folder.exists()) {
        throw SketchError(SketchError::kPathNotFound,
                          toUtf8(QStringLiteral("Path not found: the folder %1 does not exist").arg(shownFolder)),
                          ENOENT, toUtf8(shownFolder));
    }
    if (!folder.isDir()) {
        throw SketchError(SketchError::kPathAccess,
                          toUtf8(QStringLiteral("Path/File access error: %1 is a file, not a folder").arg(shownFolder)),
                          ENOTDIR, toUtf8(shownFolder));
    }

    const QByteArray nativePath = QFile::encodeName(path);
    struct stat target {};
    const bool exists = ::stat(nativePath.constData(), &target) == 0;
    if (exists && S_ISDIR(target.st_mode)) {
        throw SketchError(SketchError::kPathAccess,
                          toUtf8(QStringLiteral("Path/File access error: %1 is a folder, not a file").arg(shownFile)),
                          EISDIR, toUtf8(shownFile));
    }
    if (exists && !S_ISREG(target.st_mode)) {
        // A pipe, device or socket is written into as it is.
        m_kind = Kind::Direct;
        do {
            m_descriptor = ::open(nativePath.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        } while (m_descriptor < 0 && errno == EINTR);
        if (m_descriptor < 0) {
            throw osFailure(errno, kWriteAction, shownFile);
        }
        return;
    }

    m_kind = Kind::Replaced;
    m_save = std::make_unique<QSaveFile>(path);
    errno = 0;
    if (!m_save->open(QIODevice::WriteOnly)) {
        const int error = errno != 0 ? errno : EACCES;
        m_save.reset();
        throw osFailure(error, kWriteAction, shownFile);
    }
}

OutputFile::~OutputFile()
{
    if (m_save && !m_committed) {
        m_save->cancelWriting();
    }
    if (m_descriptor >= 0) {
        ::close(m_descriptor);
    }
}

QString OutputFile::shownName() const
{
    return m_kind == Kind::StandardOutput ? QStringLiteral("standard output") : QDir::toNativeSeparators(m_path);
}

void OutputFile::writeOrThrow(int descriptor, const QByteArray& bytes, const QString& name)
{
    const int error = writeAll(descriptor, bytes.constData(), bytes.size());
    if (error != 0) {
        m_failed = true;
        throw osFailure(error, kWriteAction, name);
    }
}

void OutputFile::write(const QByteArray& bytes)
{
    if (m_failed || m_committed) {
        throw SketchError(SketchError::kDeviceIo,
                          toUtf8(QStringLiteral("Device I/O error: %1 is no longer open for writing").arg(shownName())),
                          EIO, toUtf8(shownName()));
    }
    m_pending.append(bytes);
    if (m_pending.size() < pendingLimit()) {
        return;
    }
    // Bytes reach the system here, not in a flush inside commit(), so a
    // failure and its errno are seen at once.
    writeOrThrow(m_kind == Kind::Replaced ? static_cast<int>(m_save->handle())
                 : m_kind == Kind::Direct  ? m_descriptor
                                           : STDOUT_FILENO,
                 m_pending, shownName());
    // Keep the buffer: growing a fresh one to its limit again costs more than
    // the writing.
    m_pending.resize(0);
}

qsizetype OutputFile::pendingLimit() const
{
    // A file is written in blocks; a pipe or standard output gets a sketch
    // of ordinary size whole at commit(), so a failure prints nothing, and
    // a huge one as it comes, so memory stays bounded.
    return m_kind == Kind::Replaced ? qsizetype{1} << 16 : qsizetype{1} << 22;
}

void OutputFile::commit()
{
    if (m_failed || m_committed) {
        throw SketchError(SketchError::kDeviceIo,
                          toUtf8(QStringLiteral("Device I/O error: %1 is no longer open for writing").arg(shownName())),
                          EIO, toUtf8(shownName()));
    }
    switch (m_kind) {
    case Kind::StandardOutput:
        if (std::fflush(stdout) != 0) {
            m_failed = true;
            throw osFailure(errno, kWriteAction, shownName());
        }
        writeOrThrow(STDOUT_FILENO, m_pending, shownName());
        break;
    case Kind::Direct: {
        writeOrThrow(m_descriptor, m_pending, shownName());
        const int descriptor = m_descriptor;
        m_descriptor = -1;
        if (::close(descriptor) != 0 && errno != EINTR) {
            m_failed = true;
            throw osFailure(errno, kWriteAction, shownName());
        }
        break;
    }
    case Kind::Replaced: {
        // Space a file system only reserves lazily is claimed by the sync, so
        // a full disk is found before the earlier file is replaced.
        const int descriptor = static_cast<int>(m_save->handle());
        writeOrThrow(descriptor, m_pending, shownName());
        errno = 0;
        if (!m_save->flush() || ::fsync(descriptor) != 0) {
            m_failed = true;
            const int error = errno != 0 ? errno : EIO;
            m_save->cancelWriting();
            throw osFailure(error, kWriteAction, shownName());
        }
        errno = 0;
        if (!m_save->commit()) {
            m_failed = true;
            throw osFailure(errno != 0 ? errno : EIO, kWriteAction, shownName());
        }
        break;
    }
    }
    m_pending.clear();
    m_committed = true;
}

} // namespace platform
