#include "cli/message_file.h"

#include "cli/input_file.h"
#include "cli/usage_error.h"
#include "generation/message_limit.h"

#include <QStringDecoder>

namespace cli {

namespace {

// Up to two units over the limit are allowed while reading, for the final
// line end that is dropped afterwards.
constexpr qsizetype kFinalLineEnd = 2;

} // namespace

void MessageFile::checkLength(qsizetype length)
{
    if (length > static_cast<qsizetype>(generation::kMessageLimit)) {
        throw UsageError(QStringLiteral("the message is longer than the limit of %1 characters (UTF-16 code units)")
                             .arg(generation::kMessageLimit)
                             .toStdString());
    }
}

QString MessageFile::read(const QString& path)
{
    const bool standardInput = path == QLatin1String("-");
    InputFile file(standardInput ? InputFile::Source::StandardInput : InputFile::Source::Path, path,
                   QStringLiteral("message file"));

    // The decoder keeps a sequence split between chunks and drops a leading
    // byte-order mark.
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text;
    for (QByteArrayView chunk = file.read(); !chunk.isEmpty(); chunk = file.read()) {
        text += decoder.decode(chunk);
        checkLength(text.size() - kFinalLineEnd);
    }
    // The decoder has no call that ends the input, so a sequence cut off at
    // the end would stay pending unseen: a final line feed ends it (as an
    // error if it is incomplete) and is taken off again.
    text += decoder.decode(QByteArrayView("\n", 1));
    text.chop(1);
    if (decoder.hasError()) {
        throw UsageError(QStringLiteral("message file %1 is not valid UTF-8").arg(file.shownName()).toStdString());
    }
    if (text.endsWith(QLatin1String("\r\n"))) {
        text.chop(2);
    } else if (text.endsWith(QLatin1Char('\n'))) {
        text.chop(1);
    }
    checkLength(text.size());
    return text;
}

} // namespace cli
