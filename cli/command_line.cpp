#include "cli/command_line.h"

#include "cli/board_commands.h"
#include "cli/message_file.h"
#include "cli/simulate_command.h"
#include "cli/sketch_file.h"
#include "cli/usage_error.h"
#include "generation/column_sampler.h"
#include "generation/default_texts.h"
#include "generation/face_names.h"
#include "generation/message_limit.h"
#include "generation/panel_sketch_builder.h"
#include "generation/sketch_error.h"
#include "generation/sketch_file_writer.h"
#include "generation/string_line_file.h"
#include "platform/big5_line_file_opener.h"
#include "platform/output_file.h"
#include "platform/qt_glyph_canvas.h"
#include "platform/text_conversion.h"
#include "platform/utf8_line_file.h"

#include <QCommandLineParser>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <new>
#include <optional>

namespace cli {

namespace {

const QString kMingFace = QString::fromUtf8(generation::kMingFace);
const QString kKaiFace = QString::fromUtf8(generation::kKaiFace);

void printError(const QString& message)
{
    std::fprintf(stderr, "ledmarquee-cli: %s\n", message.toUtf8().constData());
}

// A face counts as installed when it or one of its substitutes is; anything
// else is still drawn (Qt falls back to another face), but the user hears which.
void warnIfFaceMissing(const QString& face)
{
    QStringList candidates = QFont::substitutes(face);
    candidates.prepend(face);
    for (const QString& candidate : candidates) {
        if (QFontDatabase::hasFamily(candidate)) {
            return;
        }
    }
    printError(QStringLiteral("warning: the face '%1' is not installed; drawing with '%2' instead")
                   .arg(face, QFontInfo(QFont(face)).family()));
}

void checkMessageLength(const QString& message)
{
    if (static_cast<std::size_t>(message.size()) > generation::kMessageLimit) {
        throw UsageError(QStringLiteral("the message is longer than the limit of %1 characters (UTF-16 code units)")
                             .arg(generation::kMessageLimit)
                             .toStdString());
    }
}

} // namespace

int CommandLine::run(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Draws a title and a message in a Chinese face at 16 px and prints the Arduino sketch\n"
                       "that shows them on a 16 x 64 LED sign (ports K and F, or B and A with --file-sketch).\n"
                       "Text given as an option is taken exactly as typed. Exit status: 0 done, 1 the sketch\n"
                       "could not be written or read (an error number and the reason are printed), or with\n"
                       "--simulate did not compile or faulted on the simulated board, 2 a usage or input error,\n"
                       "3 compiling, uploading or simulating failed, 130 interrupted."));
    // Qt's own --help-all would list options this tool does not take.
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Displays help on commandline options."));
    parser.addOption(helpOption);
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption titleOption(QStringLiteral("title"), QStringLiteral("The title (default: 恭喜發財)."),
                                         QStringLiteral("text"));
    const QCommandLineOption messageOption(QStringLiteral("message"),
                                           QStringLiteral("The scrolling message (default: the window's)."),
                                           QStringLiteral("text"));
    const QCommandLineOption messageFileOption(
        QStringLiteral("message-file"),
        QStringLiteral("Read the message from a UTF-8 file ('-' for standard input). A UTF-8 byte-order mark at "
                       "its start and one final line end are dropped. At most %1 characters (UTF-16 code units).")
            .arg(generation::kMessageLimit),
        QStringLiteral("path"));
    const QCommandLineOption faceOption(QStringLiteral("face"),
                                        QStringLiteral("The face: %1 (Ming, the default) or %2 (Kai).")
                                            .arg(kMingFace, kKaiFace),
                                        QStringLiteral("name"), kMingFace);
    const QCommandLineOption boldOption(QStringLiteral("bold"), QStringLiteral("Draw in bold."));
    const QCommandLineOption italicOption(QStringLiteral("italic"), QStringLiteral("Draw in italic."));
    const QCommandLineOption loweredOption(QStringLiteral("lowered"),
                                           QStringLiteral("Take the title from canvas rows 3-18 instead of 0-15."));
    const QCommandLineOption fileSketchOption(
        QStringLiteral("file-sketch"),
        QStringLiteral("Produce the sketch file instead (Big5, ports B and A, the file's column count)."));
    const QCommandLineOption outputOption(
        QStringLiteral("output"),
        QStringLiteral("Write to this file ('-' or none: standard output). A regular file is replaced only by a "
                       "complete new one; a pipe or device is written into."),
        QStringLiteral("path"));
    const QCommandLineOption wholeMessageOption(
        QStringLiteral("whole-message"),
        QStringLiteral("Keep the whole message in the board's flash so all of it scrolls, however long\n"
                       "(up to about 7,800 Chinese characters on a Mega 2560)."));
    parser.addOptions({titleOption, messageOption, messageFileOption, faceOption, boldOption, italicOption,
                       loweredOption, fileSketchOption, outputOption, wholeMessageOption});
    const BoardCommands boardCommands(parser);
    const SimulateCommand simulateCommand(parser);

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
        if (const QString problem = boardCommands.usageProblem(parser.isSet(fileSketchOption)); !problem.isEmpty()) {
            throw UsageError(problem.toStdString());
        }
        bool textOptions = false;
        for (const QCommandLineOption* option : {&titleOption, &messageOption, &messageFileOption, &faceOption,
                                                  &boldOption, &italicOption, &loweredOption, &fileSketchOption,
                                                  &outputOption, &wholeMessageOption}) {
            textOptions = textOptions || parser.isSet(*option);
        }
        if (const QString problem = simulateCommand.usageProblem(
                textOptions, boardCommands.sendsSketch() || boardCommands.listsPorts());
            !problem.isEmpty()) {
            throw UsageError(problem.toStdString());
        }
        if (simulateCommand.simulates() && parser.value(outputOption) == QLatin1String(platform::OutputFile::kStandardOutput)) {
            throw UsageError("--simulate prints the frames on standard output; give --output a file");
        }
        if (boardCommands.listsPorts()) {
            return boardCommands.listPorts();
        }
        if (simulateCommand.runsSketchFile()) {
            return simulateCommand.runSketchFile();
        }

        const QString title = parser.isSet(titleOption) ? parser.value(titleOption)
                                                         : platform::fromU16(std::u16string(generation::kDefaultTitle));
        QString message = platform::fromU16(std::u16string(generation::kDefaultMessage));
        if (parser.isSet(messageOption)) {
            message = parser.value(messageOption);
        } else if (parser.isSet(messageFileOption)) {
            message = MessageFile::read(parser.value(messageFileOption));
        }
        checkMessageLength(message);

        const QString face = parser.value(faceOption);
        warnIfFaceMissing(face);
        platform::QtGlyphCanvas canvas(face);
        canvas.setBold(parser.isSet(boldOption));
        canvas.setItalic(parser.isSet(italicOption));
        generation::ColumnSampler sampler(canvas);
        const QString outputPath = parser.isSet(outputOption)
                                       ? parser.value(outputOption)
                                       : QString::fromLatin1(platform::OutputFile::kStandardOutput);

        if (parser.isSet(fileSketchOption)) {
            // A simulated sketch file is run as the user would run the file
            // written: read back from disk, from a scratch folder when no
            // output was given.
            QTemporaryDir scratch;
            const bool toScratch = simulateCommand.simulates() && !parser.isSet(outputOption);
            const QString path = toScratch ? scratch.filePath(QStringLiteral("bb.ino")) : outputPath;
            platform::Big5LineFileOpener opener;
            generation::SketchFileWriter writer(sampler, opener, platform::toUtf8(path));
            writer.writeSketchFile(platform::toU16(title), platform::toU16(message), parser.isSet(wholeMessageOption));
            return simulateCommand.simulates() ? simulateCommand.run(SketchFile::read(path)) : kOk;
        }

        generation::PanelSketchBuilder builder(sampler);
        const auto window = parser.isSet(loweredOption) ? generation::RowWindow::lowered()
                                                        : generation::RowWindow::standard();
        if (boardCommands.sendsSketch() || simulateCommand.simulates()) {
            // The board tools take the sketch whole; it goes to --output only
            // when one is given. Outputs, --hex's too, are opened first, so a
            // path that cannot be written is reported before any drawing or
            // compiling.
            std::optional<platform::OutputFile> output;
            if (parser.isSet(outputOption)) {
                output.emplace(outputPath);
            }
            const std::unique_ptr<platform::OutputFile> hex = boardCommands.openHexFile();
            generation::StringLineFile text;
            builder.write(text, platform::toU16(title), platform::toU16(message), window,
                          parser.isSet(wholeMessageOption));
            const std::string sketch = text.take();
            if (output) {
                output->write(QByteArray::fromStdString(sketch));
                output->commit();
            }
            return simulateCommand.simulates() ? simulateCommand.run(QString::fromStdString(sketch))
                                               : boardCommands.send(sketch, hex.get());
        }
        // Written as it is made, so a long message's sketch is never held whole.
        platform::Utf8LineFile output(outputPath);
        builder.write(output, platform::toU16(title), platform::toU16(message), window,
                      parser.isSet(wholeMessageOption));
        output.commit();
        return kOk;
    } catch (const UsageError& error) {
        printError(QString::fromUtf8(error.what()));
        std::fputs("Try 'ledmarquee-cli --help' for more information.\n", stderr);
        return kUsageError;
    } catch (const generation::SketchError& error) {
        printError(QStringLiteral("error %1: %2").arg(error.number()).arg(QString::fromUtf8(error.what())));
        return kFailed;
    } catch (const std::bad_alloc&) {
        printError(QStringLiteral("error %1: Out of memory").arg(generation::SketchError::kOutOfMemory));
        return kFailed;
    } catch (const std::exception& error) {
        printError(QStringLiteral("error %1: Internal error: %2")
                       .arg(generation::SketchError::kInternal)
                       .arg(QString::fromLocal8Bit(error.what())));
        return kFailed;
    }
}

} // namespace cli
