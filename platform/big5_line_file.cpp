#include "platform/big5_line_file.h"

#include "generation/line_end.h"
#include "generation/sketch_error.h"
#include "platform/text_conversion.h"

#include <cerrno>

namespace platform {

using generation::SketchError;

namespace {

QStringEncoder big5Encoder()
{
    QStringEncoder encoder("Big5");
    if (!encoder.isValid()) {
        throw SketchError(SketchError::kDeviceIo, "This Qt build has no Big5 encoder");
    }
    return encoder;
}

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

Big5LineFile::Big5LineFile(const QString& path)
    : m_encoder(big5Encoder())
    , m_output(path)
{
}

void Big5LineFile::writeLine(const std::string& text)
{
    // ASCII is the same bytes in Big5: the message's many lines of numbers
    // need no encoder.
    QByteArray bytes = isAscii(text) ? QByteArray(text.data(), static_cast<qsizetype>(text.size()))
                                     : m_encoder.encode(fromUtf8(text));
    if (m_encoder.hasError()) {
        const QString name = m_output.shownName();
        throw SketchError(SketchError::kDeviceIo,
                          toUtf8(QStringLiteral("Device I/O error: text with no Big5 form for %1 (nothing was replaced)")
                                     .arg(name)),
                          EILSEQ, toUtf8(name));
    }
    bytes.append(generation::kLineEnd.data(), static_cast<qsizetype>(generation::kLineEnd.size()));
    m_output.write(bytes);
}

void Big5LineFile::commit()
{
    m_output.commit();
}

} // namespace platform
