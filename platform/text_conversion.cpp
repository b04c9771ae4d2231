#include "platform/text_conversion.h"

namespace platform {

std::u16string toU16(const QString& text)
{
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
}

QString fromU16(const std::u16string& text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QString fromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string toUtf8(const QString& text)
{
    return text.toStdString();
}

QString withCrLfLineEnds(QString text)
{
    // One pass; a text whose line ends are all CR LF already, as a
    // generated sketch's are, is handed back without a copy.
    const qsizetype size = text.size();
    const QChar* const data = text.constData();
    qsizetype lone = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i] == u'\r') {
            if (i + 1 < size && data[i + 1] == u'\n') {
                ++i;
            } else {
                ++lone;
            }
        } else if (data[i] == u'\n') {
            ++lone;
        }
    }
    if (lone == 0) {
        return text;
    }
    QString result;
    result.reserve(size + lone);
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i] == u'\r' || data[i] == u'\n') {
            result += QStringLiteral("\r\n");
            if (data[i] == u'\r' && i + 1 < size && data[i + 1] == u'\n') {
                ++i;
            }
        } else {
            result += data[i];
        }
    }
    return result;
}

} // namespace platform
