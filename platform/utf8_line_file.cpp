#include "platform/utf8_line_file.h"

#include "generation/line_end.h"

namespace platform {

Utf8LineFile::Utf8LineFile(const QString& path)
    : m_output(path)
{
}

void Utf8LineFile::writeLine(const std::string& text)
{
    QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
    bytes.append(generation::kLineEnd.data(), static_cast<qsizetype>(generation::kLineEnd.size()));
    m_output.write(bytes);
}

void Utf8LineFile::commit()
{
    m_output.commit();
}

} // namespace platform
