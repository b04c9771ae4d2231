#include "cli/command_line.h"

#include "generation/column_sampler.h"
#include "generation/default_texts.h"
#include "generation/panel_sketch_builder.h"
#include "generation/sketch_error.h"
#include "generation/sketch_file_writer.h"
#include "platform/big5_line_file_opener.h"
#include "platform/qt_glyph_canvas.h"
#include "platform/text_conversion.h"

#include <QCommandLineParser>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <cstdio>
#include <stdexcept>

namespace cli {

namespace {

// A mistake in how the tool was called; it ends the run with status 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void printError(const QString& message)
{
    std::fprintf(stderr, "ledmarquee-cli: %s\n", message.toUtf8().constData());
}

QString readMessageFile(const QString& path)
{
    QFile file;
    bool opened = false;
    if (path == QLatin1String("-")) {
        opened = file.open(stdin, QIODevice::ReadOnly);
    } else {
        file.setFileName(path);
        opened = file.open(QIODevice::ReadOnly);
    }
    if (!opened) {
        throw UsageError(QStringLiteral("cannot read message file %1: %2").arg(path, file.errorString()).toStdString());
    }
    QByteArray bytes = file.readAll();
    if (bytes.endsWith("\r\n")) {
        bytes.chop(2);
    } else if (bytes.endsWith('\n')) {
        bytes.chop(1);
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        throw UsageError(QStringLiteral("message file %1 is not valid UTF-8").arg(path).toStdString());
    }
    return text;
}

void writeAtomically(const QString& path, const std::string& bytes)
{
    QSaveFile file(path);
    const auto size = static_cast<qint64>(bytes.size());
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), size) != size || !file.commit()) {
        throw generation::SketchError(generation::SketchError::kDeviceIo,
                                      QStringLiteral("cannot write %1: %2").arg(path, file.errorString()).toStdString());
    }
}

void writeStandardOutput(const std::string& bytes)
{
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0) {
        throw generation::SketchError(generation::SketchError::kDeviceIo, "cannot write to standard output");
    }
}

} // namespace

int CommandLine::run(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Draws a title and a message in a Chinese face at 16 px and prints the Arduino sketch\n"
                       "that shows them on a 16 x 64 LED sign (ports K and F, or B and A with --file-sketch)."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption titleOption(QStringLiteral("title"), QStringLiteral("The title (default: 恭喜發財)."),
                                         QStringLiteral("text"));
    const QCommandLineOption messageOption(QStringLiteral("message"),
                                           QStringLiteral("The scrolling message (default: the window's)."),
                                           QStringLiteral("text"));
    const QCommandLineOption messageFileOption(
        QStringLiteral("message-file"),
        QStringLiteral("Read the message from a UTF-8 file ('-' for standard input); one final line end is dropped."),
        QStringLiteral("path"));
    const QCommandLineOption faceOption(QStringLiteral("face"), QStringLiteral("The face (default: 新細明體)."),
                                        QStringLiteral("name"), QStringLiteral("新細明體"));
    const QCommandLineOption boldOption(QStringLiteral("bold"), QStringLiteral("Draw in bold."));
    const QCommandLineOption italicOption(QStringLiteral("italic"), QStringLiteral("Draw in italic."));
    const QCommandLineOption loweredOption(QStringLiteral("lowered"),
                                           QStringLiteral("Take the title from canvas rows 3-18 instead of 0-15."));
    const QCommandLineOption fileSketchOption(
        QStringLiteral("file-sketch"),
        QStringLiteral("Produce the sketch file instead (Big5, ports B and A, the file's column count)."));
    const QCommandLineOption outputOption(QStringLiteral("output"),
                                          QStringLiteral("Write to this file, replaced atomically (default: standard output)."),
                                          QStringLiteral("path"));
    parser.addOptions({titleOption, messageOption, messageFileOption, faceOption, boldOption, italicOption,
                       loweredOption, fileSketchOption, outputOption});

    try {
        if (!parser.parse(arguments)) {
            throw UsageError(parser.errorText().toStdString());
        }
        if (parser.isSet(helpOption)) {
            std::fputs(parser.helpText().toUtf8().constData(), stdout);
            return kOk;
        }
        if (parser.isSet(versionOption)) {
            std::printf("ledmarquee-cli %s\n", LEDMARQUEE_VERSION);
            return kOk;
        }
        if (!parser.positionalArguments().isEmpty()) {
            throw UsageError(QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()).toStdString());
        }
        if (parser.isSet(messageOption) && parser.isSet(messageFileOption)) {
            throw UsageError("--message and --message-file cannot be used together");
        }
        if (parser.isSet(loweredOption) && parser.isSet(fileSketchOption)) {
            throw UsageError("--lowered has no effect on --file-sketch: the sketch file always takes rows 0-15");
        }

        const QString title = parser.isSet(titleOption) ? parser.value(titleOption)
                                                         : platform::fromU16(std::u16string(generation::kDefaultTitle));
        QString message = platform::fromU16(std::u16string(generation::kDefaultMessage));
        if (parser.isSet(messageOption)) {
            message = parser.value(messageOption);
        } else if (parser.isSet(messageFileOption)) {
            message = readMessageFile(parser.value(messageFileOption));
        }

        platform::QtGlyphCanvas canvas(parser.value(faceOption));
        canvas.setBold(parser.isSet(boldOption));
        canvas.setItalic(parser.isSet(italicOption));
        generation::ColumnSampler sampler(canvas);

        if (parser.isSet(fileSketchOption)) {
            platform::Big5LineFileOpener opener;
            const std::string path = parser.isSet(outputOption) ? platform::toUtf8(parser.value(outputOption))
                                                                : platform::Big5LineFileOpener::kStandardOutput;
            generation::SketchFileWriter writer(sampler, opener, path);
            writer.writeSketchFile(platform::toU16(title), platform::toU16(message));
            return kOk;
        }

        generation::PanelSketchBuilder builder(sampler);
        const auto window = parser.isSet(loweredOption) ? generation::RowWindow::lowered()
                                                        : generation::RowWindow::standard();
        const std::string sketch = builder.buildPanelSketch(platform::toU16(title), platform::toU16(message), window).text;
        if (parser.isSet(outputOption)) {
            writeAtomically(parser.value(outputOption), sketch);
        } else {
            writeStandardOutput(sketch);
        }
        return kOk;
    } catch (const UsageError& error) {
        printError(QString::fromUtf8(error.what()));
        return kUsageError;
    } catch (const generation::SketchError& error) {
        printError(QStringLiteral("error %1: %2").arg(error.number()).arg(QString::fromUtf8(error.what())));
        return kWriteFailed;
    }
}

} // namespace cli
