#include "platform/utf8_line_file.h"

#include "generation/line_end.h"
#include "generation/sketch_error.h"
#include "platform/text_conversion.h"

#include <cstdio>

namespace platform {

using generation::SketchError;

namespace {
constexpr std::size_t kBufferBytes = 1 << 16;
}

Utf8LineFile::Utf8LineFile(const QString& path)
    : m_file(std::make_unique<QSaveFile>(path))
{
    if (!m_file->open(QIODevice::WriteOnly)) {
        fail();
    }
}

std::unique_ptr<Utf8LineFile> Utf8LineFile::toStandardOutput()
{
    return std::unique_ptr<Utf8LineFile>(new Utf8LineFile());
}

Utf8LineFile::~Utf8LineFile() = default;

void Utf8LineFile::writeLine(const std::string& text)
{
    m_buffer += text;
    m_buffer += generation::kLineEnd;
    if (m_buffer.size() >= kBufferBytes) {
        flush();
    }
}

void Utf8LineFile::flush()
{
    const auto size = m_buffer.size();
    const bool written = m_file ? m_file->write(m_buffer.data(), static_cast<qint64>(size)) == static_cast<qint64>(size)
                                : std::fwrite(m_buffer.data(), 1, size, stdout) == size;
    if (!written) {
        fail();
    }
    m_buffer.clear();
}

void Utf8LineFile::commit()
{
    flush();
    if (m_file ? !m_file->commit() : std::fflush(stdout) != 0) {
        fail();
    }
}

void Utf8LineFile::fail() const
{
    if (!m_file) {
        throw SketchError(SketchError::kDeviceIo, "cannot write to standard output");
    }
    throw SketchError(SketchError::kDeviceIo,
                      toUtf8(QStringLiteral("cannot write %1: %2").arg(m_file->fileName(), m_file->errorString())));
}

} // namespace platform
