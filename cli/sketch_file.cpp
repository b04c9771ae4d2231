#include "cli/sketch_file.h"

#include "cli/input_file.h"
#include "cli/usage_error.h"

#include <QStringDecoder>

namespace cli {

namespace {

// Far more than the largest sketch the tool makes for any message it takes.
constexpr qsizetype kLargestSketch = 64 * 1024 * 1024;

} // namespace

QString SketchFile::read(const QString& path)
{
    InputFile file(InputFile::Source::Path, path, QStringLiteral("sketch file"));
    QByteArray bytes;
    for (QByteArrayView chunk = file.read(); !chunk.isEmpty() && bytes.size() <= kLargestSketch; chunk = file.read()) {
        bytes += chunk;
    }
    if (bytes.size() > kLargestSketch) {
        throw UsageError(QStringLiteral("sketch file %1 is larger than any sketch (%2 MiB)")
                             .arg(path)
                             .arg(kLargestSketch / 1024 / 1024)
                             .toStdString());
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        return text;
    }
    QStringDecoder big5("Big5", QStringDecoder::Flag::Stateless);
    const QString big5Text = big5.isValid() ? big5.decode(bytes) : QString();
    if (!big5.isValid() || big5.hasError()) {
        throw UsageError(QStringLiteral("sketch file %1 is neither UTF-8 nor Big5").arg(path).toStdString());
    }
    return big5Text;
}

} // namespace cli
