#pragma once

#include <QByteArray>
#include <QList>
#include <QStringDecoder>
#include <QStringList>

#include <string>
#include <vector>

namespace tests {

// Splits sketch bytes at CR LF; a trailing CR LF ends the last line.
inline QList<QByteArray> crLfLines(const QByteArray& bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    for (auto& line : lines) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
    }
    return lines;
}

inline QString fromBig5(const QByteArray& bytes)
{
    QStringDecoder decoder("Big5");
    return decoder.decode(bytes);
}

// The words of a message array, without the 64 leading "0," entries.
inline std::vector<double> messageWords(const QString& sketch)
{
    const auto open = sketch.indexOf(QStringLiteral("unsigned int c[]={"));
    const auto close = sketch.indexOf(QStringLiteral("};"), open);
    QString body = sketch.mid(open + 18, close - open - 18);
    body.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    const QStringList entries = body.split(QLatin1Char(','));
    std::vector<double> words;
    for (qsizetype i = 64; i < entries.size(); ++i) {
        words.push_back(entries[i].toDouble());
    }
    return words;
}

} // namespace tests
