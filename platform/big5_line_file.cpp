#include "platform/big5_line_file.h"

#include "generation/line_end.h"
#include "generation/sketch_error.h"
#include "platform/text_conversion.h"

#include <cstdio>

namespace platform {

using generation::SketchError;

namespace {

std::string describe(const QString& what, const QString& path, const QString& detail)
{
    return toUtf8(QStringLiteral("%1 %2 (%3)").arg(what, path, detail));
}

QString standardOutputName()
{
    return QStringLiteral("standard output");
}

constexpr qsizetype kBufferBytes = 1 << 16;

bool isAscii(const std::string& text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

} // namespace

Big5LineFile::Big5LineFile()
    : m_encoder("Big5")
{
    if (!m_encoder.isValid()) {
        throw SketchError(SketchError::kDeviceIo, "This Qt build has no Big5 encoder");
    }
}

Big5LineFile::Big5LineFile(const QString& path)
    : Big5LineFile()
{
    m_file = std::make_unique<QSaveFile>(path);
    if (!m_file->open(QIODevice::WriteOnly)) {
        throw SketchError(SketchError::kPathAccess,
                          describe(QStringLiteral("Path/File access error: cannot write"), path,
                                   m_file->errorString()));
    }
}

std::unique_ptr<Big5LineFile> Big5LineFile::toStandardOutput()
{
    return std::unique_ptr<Big5LineFile>(new Big5LineFile());
}

void Big5LineFile::writeLine(const std::string& text)
{
    if (!m_file && isAscii(text)) {
        // ASCII is the same bytes in Big5: the message's many lines of
        // numbers need no encoder.
        m_pending.append(text.data(), static_cast<qsizetype>(text.size()));
        m_pending.append(generation::kLineEnd.data(), static_cast<qsizetype>(generation::kLineEnd.size()));
        if (m_pending.size() >= kBufferBytes) {
            flushPending();
        }
        return;
    }
    const auto name = [this] { return m_file ? m_file->fileName() : standardOutputName(); };
    QByteArray bytes = isAscii(text) ? QByteArray(text.data(), static_cast<qsizetype>(text.size()))
                                     : m_encoder.encode(fromUtf8(text));
    if (m_encoder.hasError()) {
        throw SketchError(SketchError::kDeviceIo,
                          describe(QStringLiteral("Device I/O error: text with no Big5 form for"), name(),
                                   QStringLiteral("nothing was replaced")));
    }
    bytes.append(generation::kLineEnd.data(), static_cast<qsizetype>(generation::kLineEnd.size()));
    if (!m_file) {
        m_pending.append(bytes);
        flushPending();
        return;
    }
    if (m_file->write(bytes) != bytes.size()) {
        throw SketchError(SketchError::kDeviceIo,
                          describe(QStringLiteral("Device I/O error: write failed for"), name(), m_file->errorString()));
    }
}

void Big5LineFile::flushPending()
{
    const auto size = static_cast<std::size_t>(m_pending.size());
    if (std::fwrite(m_pending.constData(), 1, size, stdout) != size) {
        throw SketchError(SketchError::kDeviceIo, "Device I/O error: write failed for standard output");
    }
    m_pending.clear();
}

void Big5LineFile::commit()
{
    if (!m_file) {
        flushPending();
        if (std::fflush(stdout) != 0) {
            throw SketchError(SketchError::kDeviceIo, "Device I/O error: write failed for standard output");
        }
        return;
    }
    if (!m_file->commit()) {
        throw SketchError(SketchError::kDeviceIo,
                          describe(QStringLiteral("Device I/O error: could not replace"), m_file->fileName(),
                                   m_file->errorString()));
    }
}

} // namespace platform
