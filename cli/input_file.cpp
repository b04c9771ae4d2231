#include "cli/input_file.h"

#include "cli/usage_error.h"
#include "platform/os_failure.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace cli {

InputFile::InputFile(Source source, const QString& path, const QString& what)
    : m_shownName(source == Source::StandardInput ? QStringLiteral("standard input") : path)
    , m_what(what)
{
    if (source == Source::StandardInput) {
        m_descriptor = STDIN_FILENO;
        return;
    }
    do {
        m_descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    } while (m_descriptor < 0 && errno == EINTR);
    if (m_descriptor < 0) {
        throw UsageError(QStringLiteral("cannot read %1 %2: %3")
                             .arg(what, path, QString::fromLocal8Bit(std::strerror(errno)))
                             .toStdString());
    }
    m_owned = true;
}

InputFile::~InputFile()
{
    if (m_owned) {
        ::close(m_descriptor);
    }
}

QByteArrayView InputFile::read()
{
    for (;;) {
        const ssize_t count = ::read(m_descriptor, m_chunk.data(), m_chunk.size());
        if (count >= 0) {
            return QByteArrayView(m_chunk.data(), static_cast<qsizetype>(count));
        }
        if (errno != EINTR) {
            throw platform::osFailure(errno, QStringLiteral("cannot read %1").arg(m_what), m_shownName);
        }
    }
}

} // namespace cli
