#pragma once

#include <QString>

#include <string>

namespace platform {

// Qt strings and the generation layer's strings meet only here. QString and
// std::u16string are both UTF-16, so unpaired surrogates and NULs pass through.
std::u16string toU16(const QString& text);
QString fromU16(const std::u16string& text);
QString fromUtf8(const std::string& text);
std::string toUtf8(const QString& text);
// Every line end (LF, CR or CR LF) as CR LF. Qt's text widgets keep LF only,
// while sketches are handed on with CR LF.
QString withCrLfLineEnds(QString text);

} // namespace platform
