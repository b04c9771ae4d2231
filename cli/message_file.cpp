#include "cli/message_file.h"

#include "cli/usage_error.h"
#include "generation/message_limit.h"
#include "platform/os_failure.h"

#include <QFile>
#include <QStringDecoder>

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace cli {

namespace {

constexpr std::size_t kChunk = 64 * 1024;

// Closes a descriptor this reader opened when the read ends, however it ends.
class Descriptor {
public:
    explicit Descriptor(int descriptor, bool owned)
        : m_descriptor(descriptor)
        , m_owned(owned)
    {
    }
    ~Descriptor()
    {
        if (m_owned && m_descriptor >= 0) {
            ::close(m_descriptor);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_descriptor; }

private:
    int m_descriptor;
    bool m_owned;
};

QString tooLong()
{
    return QStringLiteral("the message is longer than the limit of %1 characters (UTF-16 code units)")
        .arg(generation::kMessageLimit);
}

} // namespace

QString MessageFile::read(const QString& path)
{
    const bool standardInput = path == QLatin1String("-");
    const QString shownName = standardInput ? QStringLiteral("standard input") : path;
    int descriptor = STDIN_FILENO;
    if (!standardInput) {
        do {
            descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
        } while (descriptor < 0 && errno == EINTR);
        if (descriptor < 0) {
            throw UsageError(QStringLiteral("cannot read message file %1: %2")
                                 .arg(path, QString::fromLocal8Bit(std::strerror(errno)))
                                 .toStdString());
        }
    }
    const Descriptor file(descriptor, !standardInput);

    // The decoder keeps a sequence split between chunks and drops a leading
    // byte-order mark. Up to two units over the limit are allowed while
    // reading, for the final line end that is dropped afterwards.
    QStringDecoder decoder(QStringDecoder::Utf8);
    const auto readLimit = static_cast<qsizetype>(generation::kMessageLimit + 2);
    QString text;
    std::array<char, kChunk> chunk{};
    for (;;) {
        const ssize_t count = ::read(file.get(), chunk.data(), chunk.size());
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw platform::osFailure(errno, QStringLiteral("cannot read message file"), shownName);
        }
        if (count == 0) {
            break;
        }
        text += decoder.decode(QByteArrayView(chunk.data(), static_cast<qsizetype>(count)));
        if (text.size() > readLimit) {
            throw UsageError(tooLong().toStdString());
        }
    }
    // The decoder has no call that ends the input, so a sequence cut off at
    // the end would stay pending unseen: a final line feed ends it (as an
    // error if it is incomplete) and is taken off again.
    text += decoder.decode(QByteArrayView("\n", 1));
    text.chop(1);
    if (decoder.hasError()) {
        throw UsageError(QStringLiteral("message file %1 is not valid UTF-8").arg(shownName).toStdString());
    }
    if (text.endsWith(QLatin1String("\r\n"))) {
        text.chop(2);
    } else if (text.endsWith(QLatin1Char('\n'))) {
        text.chop(1);
    }
    if (static_cast<std::size_t>(text.size()) > generation::kMessageLimit) {
        throw UsageError(tooLong().toStdString());
    }
    return text;
}

} // namespace cli
