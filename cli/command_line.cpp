#include "cli/command_line.h"

#include "cli/board_commands.h"
#include "cli/error_line.h"
#include "cli/message_file.h"
#include "cli/picture_options.h"
#include "cli/simulate_command.h"
#include "cli/usage_error.h"
#include "generation/column_sampler.h"
#include "generation/default_texts.h"
#include "generation/face_names.h"
#include "generation/marquee_shape.h"
#include "generation/message_limit.h"
#include "generation/panel_sketch_builder.h"
#include "generation/sketch_error.h"
#include "generation/sketch_file_writer.h"
#include "generation/string_line_file.h"
#include "generation/wiring_test_sketch.h"
#include "platform/big5_line_file.h"
#include "platform/output_file.h"
#include "platform/qt_glyph_canvas.h"
#include "platform/text_conversion.h"
#include "platform/utf8_line_file.h"

#include <QCommandLineParser>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>

#include <cstdio>
#include <functional>
#include <memory>
#include <new>
#include <optional>

namespace cli {

namespace {

const QString kMingFace = QString::fromUtf8(generation::kMingFace);
const QString kKaiFace = QString::fromUtf8(generation::kKaiFace);

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

// Hands every line to the text kept for the board tools and, when there is
// one, to the output file as well.
class TeeLineFile : public generation::LineFile {
public:
    TeeLineFile(generation::LineFile& kept, generation::LineFile* output)
        : m_kept(kept)
        , m_output(output)
    {
    }
    void writeLine(const std::string& text) override
    {
        m_kept.writeLine(text);
        if (m_output != nullptr) {
            m_output->writeLine(text);
        }
    }
    void commit() override {}

private:
    generation::LineFile& m_kept;
    generation::LineFile* m_output;
};

int stepFramesFrom(const QString& value)
{
    bool number = false;
    const int frames = value.toInt(&number);
    if (!number || frames < generation::MarqueeShape::kMinStepFrames
        || frames > generation::MarqueeShape::kMaxStepFrames) {
        throw UsageError(QStringLiteral("--step-frames takes a whole number from %1 to %2, not '%3'")
                             .arg(generation::MarqueeShape::kMinStepFrames)
                             .arg(generation::MarqueeShape::kMaxStepFrames)
                             .arg(value)
                             .toStdString());
    }
    return frames;
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
                       "3 compiling, uploading or simulating failed, 130 interrupted.\n"
                       "With --wiring-test it prints a sketch that checks a freshly soldered sign instead; it\n"
                       "draws no text, so the title, message, face, style, --lowered, --whole-message,\n"
                       "--step-frames and --picture options cannot go with it."));
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
    const QCommandLineOption stepFramesOption(
        QStringLiteral("step-frames"),
        QStringLiteral("Frames each one-column step of the marquee is shown, %1 to %2 (default %3, about 0.6 s "
                       "a Chinese character); more is slower.")
            .arg(generation::MarqueeShape::kMinStepFrames)
            .arg(generation::MarqueeShape::kMaxStepFrames)
            .arg(generation::MarqueeShape::kMarqueeFrames),
        QStringLiteral("n"));
    const QCommandLineOption wiringTestOption(
        QStringLiteral("wiring-test"),
        QStringLiteral("Produce the wiring test: each row alone (top first, about 0.5 s each), each column "
                       "alone (left first, about 0.1 s each), then every LED (about 1 s), over and over. "
                       "Ports K and F, or B and A (in Big5) with --file-sketch."));
    parser.addOptions({titleOption, messageOption, messageFileOption, faceOption, boldOption, italicOption,
                       loweredOption, fileSketchOption, outputOption, wholeMessageOption, stepFramesOption,
                       wiringTestOption});
    const BoardCommands boardCommands(parser);
    const SimulateCommand simulateCommand(parser);
    const PictureOptions pictureOptions(parser);

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
        const bool wiringTest = parser.isSet(wiringTestOption);
        if (wiringTest) {
            for (const QCommandLineOption* drawing : {&titleOption, &messageOption, &messageFileOption, &faceOption,
                                                      &boldOption, &italicOption, &loweredOption, &wholeMessageOption,
                                                      &stepFramesOption, &pictureOptions.option()}) {
                if (parser.isSet(*drawing)) {
                    throw UsageError(QStringLiteral("--%1 cannot be used with --wiring-test: the test draws no text and scrolls nothing")
                                         .arg(drawing->names().constLast())
                                         .toStdString());
                }
            }
        }
        const int stepFrames = parser.isSet(stepFramesOption) ? stepFramesFrom(parser.value(stepFramesOption))
                                                              : generation::MarqueeShape::kMarqueeFrames;
        if (const QString problem = boardCommands.usageProblem(); !problem.isEmpty()) {
            throw UsageError(problem.toStdString());
        }
        bool textOptions = false;
        for (const QCommandLineOption* option :
             {&titleOption, &messageOption, &messageFileOption, &faceOption, &boldOption, &italicOption, &loweredOption,
              &fileSketchOption, &outputOption, &wholeMessageOption, &stepFramesOption, &wiringTestOption,
              &pictureOptions.option()}) {
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

        // The file sketch and the wiring test's B/A variant are stored in
        // Big5, as the file the window writes; the rest in UTF-8.
        const bool fileSketch = parser.isSet(fileSketchOption);
        const auto wiring = fileSketch ? generation::PortWiring::PortsBA : generation::PortWiring::PortsKF;
        const QString outputPath = parser.isSet(outputOption)
                                       ? parser.value(outputOption)
                                       : QString::fromLatin1(platform::OutputFile::kStandardOutput);
        const auto openOutput = [&]() -> std::unique_ptr<generation::LineFile> {
            if (fileSketch) {
                return std::make_unique<platform::Big5LineFile>(outputPath);
            }
            return std::make_unique<platform::Utf8LineFile>(outputPath);
        };

        std::optional<platform::QtGlyphCanvas> canvas;
        std::optional<generation::ColumnSampler> sampler;
        std::function<void(generation::LineFile&)> writeSketch;
        if (wiringTest) {
            writeSketch = [wiring](generation::LineFile& out) { generation::WiringTestSketch::write(out, wiring); };
        } else {
            const QString title = parser.isSet(titleOption)
                                      ? parser.value(titleOption)
                                      : platform::fromU16(std::u16string(generation::kDefaultTitle));
            QString message = platform::fromU16(std::u16string(generation::kDefaultMessage));
            if (parser.isSet(messageOption)) {
                message = parser.value(messageOption);
            } else if (parser.isSet(messageFileOption)) {
                message = MessageFile::read(parser.value(messageFileOption));
            }
            checkMessageLength(message);
            const std::vector<generation::Picture> pictures = pictureOptions.read(title, message);

            const QString face = parser.value(faceOption);
            warnIfFaceMissing(face);
            canvas.emplace(face);
            canvas->setBold(parser.isSet(boldOption));
            canvas->setItalic(parser.isSet(italicOption));
            sampler.emplace(*canvas);
            const bool wholeMessage = parser.isSet(wholeMessageOption);
            if (fileSketch) {
                writeSketch = [&, title, message, wholeMessage, pictures](generation::LineFile& out) {
                    generation::SketchFileWriter::write(*sampler, out, platform::toU16(title), platform::toU16(message),
                                                        wholeMessage, stepFrames, pictures);
                };
            } else {
                const auto window = parser.isSet(loweredOption) ? generation::RowWindow::lowered()
                                                                : generation::RowWindow::standard();
                writeSketch = [&, title, message, wholeMessage, window, pictures](generation::LineFile& out) {
                    generation::PanelSketchBuilder(*sampler).write(out, platform::toU16(title), platform::toU16(message),
                                                                   window, wholeMessage, stepFrames, pictures);
                };
            }
        }

        if (boardCommands.sendsSketch() || simulateCommand.simulates()) {
            // The board tools take the sketch whole, as UTF-8 (a Big5 file
            // sketch is the same text); it goes to --output too only when
            // one is given. Outputs, --hex's too, are
            // opened first, so a path that cannot be written is reported
            // before any drawing or compiling.
            std::unique_ptr<generation::LineFile> output;
            if (parser.isSet(outputOption)) {
                output = openOutput();
            }
            const std::unique_ptr<platform::OutputFile> hex = boardCommands.openHexFile();
            generation::StringLineFile text;
            TeeLineFile both(text, output.get());
            writeSketch(both);
            if (output) {
                output->commit();
            }
            if (simulateCommand.simulates()) {
                return simulateCommand.run(QString::fromStdString(text.take()));
            }
            return boardCommands.send(text.take(), hex.get());
        }
        // Written as it is made, so a long message's sketch is never held whole.
        const auto output = openOutput();
        writeSketch(*output);
        output->commit();
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
