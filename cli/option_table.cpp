#include "cli/option_table.h"

#include "cli/usage_error.h"
#include "generation/face_names.h"
#include "generation/marquee_shape.h"
#include "generation/message_limit.h"
#include "platform/output_file.h"

#include <cmath>
#include <functional>

namespace cli {

namespace {

using generation::MarqueeShape;

// The longest --simulate run, in simulated seconds.
constexpr int kLongestSimulation = 3600;

const QString kMingFace = QString::fromUtf8(generation::kMingFace);
const QString kKaiFace = QString::fromUtf8(generation::kKaiFace);

QCommandLineOption option(const QString& name, const QString& description, const QString& valueName = {},
                          const QString& defaultValue = {})
{
    return QCommandLineOption(QStringList{name}, description, valueName, defaultValue);
}

// A whole number of frames per marquee step, or -1.
int stepFramesIn(const QString& value)
{
    bool number = false;
    const int frames = value.toInt(&number);
    return number && frames >= MarqueeShape::kMinStepFrames && frames <= MarqueeShape::kMaxStepFrames ? frames : -1;
}

// Seconds to simulate, or -1.
double secondsIn(const QString& value)
{
    bool number = false;
    const double seconds = value.toDouble(&number);
    return number && std::isfinite(seconds) && seconds > 0 && seconds <= kLongestSimulation ? seconds : -1;
}

using StoreText = std::function<void(Options& options, const QStringList& values)>;

StoreText text(std::optional<QString> Options::*field)
{
    return [field](Options& options, const QStringList& values) { options.*field = values.constLast(); };
}

StoreText flag(bool Options::*field)
{
    return [field](Options& options, const QStringList&) { options.*field = true; };
}

} // namespace

std::vector<OptionTable::Row> OptionTable::rows()
{
    std::vector<Row> all{
        // Qt's own --help-all would list options this tool does not take.
        {Option::Help, QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                                          QStringLiteral("Displays help on commandline options.")), 0, {}, {}},
        {Option::Version, QCommandLineOption({QStringLiteral("v"), QStringLiteral("version")},
                                             QStringLiteral("Displays version information.")), 0, {}, {}},
    };
    for (const std::vector<Row>& more : {textRows(), sketchRows(), toolRows()}) {
        all.insert(all.end(), more.begin(), more.end());
    }
    return all;
}

// What the text is and how it is drawn.
std::vector<OptionTable::Row> OptionTable::textRows()
{
    return {
        {Option::Title, option(QStringLiteral("title"), QStringLiteral("The title (default: 恭喜發財)."), QStringLiteral("text")),
         Drawing | MakesSketch, {}, text(&Options::title)},
        {Option::Message, option(QStringLiteral("message"), QStringLiteral("The scrolling message (default: the window's)."),
                                 QStringLiteral("text")),
         Drawing | MakesSketch, {}, text(&Options::message)},
        {Option::MessageFile,
         option(QStringLiteral("message-file"),
                QStringLiteral("Read the message from a UTF-8 file ('-' for standard input). A UTF-8 byte-order mark at "
                               "its start and one final line end are dropped. At most %1 characters (UTF-16 code units).")
                    .arg(generation::kMessageLimit),
                QStringLiteral("path")),
         Drawing | MakesSketch, {}, text(&Options::messageFile)},
        {Option::Face,
         option(QStringLiteral("face"), QStringLiteral("The face: %1 (Ming, the default) or %2 (Kai).").arg(kMingFace, kKaiFace),
                QStringLiteral("name"), kMingFace),
         Drawing | MakesSketch, {}, [](Options& options, const QStringList& values) { options.face = values.constLast(); }},
        {Option::Bold, option(QStringLiteral("bold"), QStringLiteral("Draw in bold.")), Drawing | MakesSketch, {},
         flag(&Options::bold)},
        {Option::Italic, option(QStringLiteral("italic"), QStringLiteral("Draw in italic.")), Drawing | MakesSketch, {},
         flag(&Options::italic)},
        {Option::Lowered,
         option(QStringLiteral("lowered"), QStringLiteral("Take the title from canvas rows 3-18 instead of 0-15.")),
         Drawing | MakesSketch, {}, flag(&Options::lowered)},
    };
}

// Which sketch is made, and where it goes.
std::vector<OptionTable::Row> OptionTable::sketchRows()
{
    return {
        {Option::FileSketch,
         option(QStringLiteral("file-sketch"),
                QStringLiteral("Produce the sketch file instead (Big5, ports B and A, the file's column count).")),
         MakesSketch, {}, flag(&Options::fileSketch)},
        {Option::Output,
         option(QStringLiteral("output"),
                QStringLiteral("Write to this file ('-' or none: standard output). A regular file is replaced only by a "
                               "complete new one; a pipe or device is written into."),
                QStringLiteral("path")),
         MakesSketch,
         [](const QString& value, const Given& given) {
             return given.contains(Option::Simulate) && value == QLatin1String(platform::OutputFile::kStandardOutput)
                 ? QStringLiteral("--simulate prints the frames on standard output; give --output a file")
                 : QString();
         },
         text(&Options::output)},
        {Option::WholeMessage,
         option(QStringLiteral("whole-message"),
                QStringLiteral("Keep the whole message in the board's flash so all of it scrolls, however long\n"
                               "(up to about 7,800 Chinese characters on a Mega 2560).")),
         Drawing | MakesSketch, {}, flag(&Options::wholeMessage)},
        {Option::StepFrames,
         option(QStringLiteral("step-frames"),
                QStringLiteral("Frames each one-column step of the marquee is shown, %1 to %2 (default %3, about 0.6 s "
                               "a Chinese character); more is slower.")
                    .arg(MarqueeShape::kMinStepFrames)
                    .arg(MarqueeShape::kMaxStepFrames)
                    .arg(MarqueeShape::kMarqueeFrames),
                QStringLiteral("n")),
         Drawing | MakesSketch,
         [](const QString& value, const Given&) {
             return stepFramesIn(value) > 0 ? QString()
                                            : QStringLiteral("--step-frames takes a whole number from %1 to %2, not '%3'")
                                                  .arg(MarqueeShape::kMinStepFrames)
                                                  .arg(MarqueeShape::kMaxStepFrames)
                                                  .arg(value);
         },
         [](Options& options, const QStringList& values) { options.stepFrames = stepFramesIn(values.constLast()); }},
        {Option::WiringTest,
         option(QStringLiteral("wiring-test"),
                QStringLiteral("Produce the wiring test: each row alone (top first, about 0.5 s each), each column "
                               "alone (left first, about 0.1 s each), then every LED (about 1 s), over and over. "
                               "Ports K and F, or B and A (in Big5) with --file-sketch.")),
         MakesSketch, {}, flag(&Options::wiringTest)},
    };
}

// The board's tools and the simulated board, and the pictures.
std::vector<OptionTable::Row> OptionTable::toolRows()
{
    return {
        {Option::ListPorts,
         option(QStringLiteral("list-ports"),
                QStringLiteral("List the serial ports, one per line: path, USB vendor:product, description.")),
         Board, {}, {}},
        {Option::Hex,
         option(QStringLiteral("hex"), QStringLiteral("Compile the sketch for the Mega 2560 and write its Intel HEX to this file."),
                QStringLiteral("path")),
         Board, {}, text(&Options::hex)},
        {Option::Upload,
         option(QStringLiteral("upload"),
                QStringLiteral("Compile the sketch and upload it to the Mega 2560 on this serial port."),
                QStringLiteral("port")),
         Board,
         [](const QString& value, const Given&) {
             return value.trimmed().isEmpty() ? QStringLiteral("--upload needs a serial port") : QString();
         },
         text(&Options::upload)},
        {Option::Simulate,
         option(QStringLiteral("simulate"),
                QStringLiteral("Compile the sketch and run it on a simulated Mega 2560 for this many seconds (at most "
                               "%1), as fast as the machine can. Prints a line for each frame whose picture differs "
                               "from the one before: the time it began in microseconds, then the 64 column words "
                               "as four hex digits each; the ports the sketch drives go to standard error.")
                    .arg(kLongestSimulation),
                QStringLiteral("seconds")),
         0,
         [](const QString& value, const Given&) {
             return secondsIn(value) > 0
                 ? QString()
                 : QStringLiteral("--simulate needs a number of seconds above 0 and at most %1, not '%2'")
                       .arg(kLongestSimulation)
                       .arg(value);
         },
         [](Options& options, const QStringList& values) { options.simulateSeconds = secondsIn(values.constLast()); }},
        {Option::Sketch,
         option(QStringLiteral("sketch"),
                QStringLiteral("With --simulate: run this sketch file (UTF-8, or Big5 as bb.ino is) instead of a "
                               "sketch made from the text options."),
                QStringLiteral("path")),
         0, {}, text(&Options::sketch)},
        {Option::Picture,
         option(QStringLiteral("picture"),
                QStringLiteral("A picture (PNG, BMP, GIF, JPEG or SVG) for the next picture mark, U+FFFC, in the "
                               "title or the message: give one for each mark, the title's first. It is drawn where "
                               "its mark stands, 16 pixels tall (scaled to that, keeping its shape), dark opaque "
                               "pixels lit."),
                QStringLiteral("file")),
         Drawing | MakesSketch, {}, [](Options& options, const QStringList& values) { options.pictures = values; }},
    };
}

std::vector<OptionTable::Rule> OptionTable::rules() const
{
    using Kind = Rule::Kind;
    return {
        {Kind::Excludes, Option::Message, {Option::MessageFile}, QStringLiteral("--message and --message-file cannot be used together")},
        {Kind::Excludes, Option::Lowered, {Option::FileSketch},
         QStringLiteral("--lowered has no effect on --file-sketch: the sketch file always takes rows 0-15")},
        {Kind::Excludes, Option::WiringTest, members(Drawing),
         QStringLiteral("--%1 cannot be used with --wiring-test: the test draws no text and scrolls nothing")},
        {Kind::Valid, Option::StepFrames, {}, {}},
        {Kind::Excludes, Option::ListPorts, {Option::Hex, Option::Upload},
         QStringLiteral("--list-ports cannot be used with --hex or --upload")},
        {Kind::Valid, Option::Upload, {}, {}},
        {Kind::Requires, Option::Sketch, {Option::Simulate},
         QStringLiteral("--sketch gives a sketch to --simulate; use it with --simulate")},
        {Kind::Valid, Option::Simulate, {}, {}},
        {Kind::Excludes, Option::Simulate, members(Board),
         QStringLiteral("--simulate cannot be used with --hex, --upload or --list-ports")},
        {Kind::Excludes, Option::Sketch, members(MakesSketch),
         QStringLiteral("--sketch runs the sketch file as it is; it cannot be used with options that make or write a "
                        "sketch")},
        {Kind::Valid, Option::Output, {}, {}},
    };
}

OptionTable::OptionTable() : m_rows(rows())
{
    m_parser.setApplicationDescription(
        QStringLiteral("Draws a title and a message in a Chinese face at 16 px and prints the Arduino sketch\n"
                       "that shows them on a 16 x 64 LED sign (ports K and F, or B and A with --file-sketch).\n"
                       "Text given as an option is taken exactly as typed. Exit status: 0 done, 1 the sketch\n"
                       "could not be written or read (an error number and the reason are printed), or with\n"
                       "--simulate did not compile or faulted on the simulated board, 2 a usage or input error,\n"
                       "3 compiling, uploading or simulating failed, 130 interrupted.\n"
                       "With --wiring-test it prints a sketch that checks a freshly soldered sign instead; it\n"
                       "draws no text, so the title, message, face, style, --lowered, --whole-message,\n"
                       "--step-frames and --picture options cannot go with it."));
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        // row() finds an option's row by its place in the enum.
        Q_ASSERT(m_rows[i].option == static_cast<Option>(i));
        m_parser.addOption(m_rows[i].line);
    }
}

std::vector<Option> OptionTable::members(unsigned group) const
{
    std::vector<Option> found;
    for (const Row& each : m_rows) {
        if ((each.groups & group) != 0) {
            found.push_back(each.option);
        }
    }
    return found;
}

const OptionTable::Row& OptionTable::row(Option option) const
{
    return m_rows[static_cast<std::size_t>(option)];
}

QString OptionTable::helpText() const
{
    return m_parser.helpText();
}

void OptionTable::check(const Rule& rule, const Given& given) const
{
    if (!given.contains(rule.option)) {
        return;
    }
    switch (rule.kind) {
    case Rule::Kind::Excludes:
        for (Option other : rule.others) {
            if (given.contains(other)) {
                throw UsageError(QString(rule.text).replace(QLatin1String("%1"), row(other).line.names().constLast())
                                     .toStdString());
            }
        }
        break;
    case Rule::Kind::Requires:
        if (!given.contains(rule.others.front())) {
            throw UsageError(rule.text.toStdString());
        }
        break;
    case Rule::Kind::Valid:
        if (const QString problem = row(rule.option).problem(m_parser.value(row(rule.option).line), given);
            !problem.isEmpty()) {
            throw UsageError(problem.toStdString());
        }
        break;
    }
}

Options::Command OptionTable::commandFor(const Given& given)
{
    if (given.contains(Option::ListPorts)) {
        return Options::Command::ListPorts;
    }
    if (given.contains(Option::Sketch)) {
        return Options::Command::SimulateFile;
    }
    if (given.contains(Option::Simulate)) {
        return Options::Command::Simulate;
    }
    if (given.contains(Option::Hex) || given.contains(Option::Upload)) {
        return Options::Command::SendToBoard;
    }
    return Options::Command::WriteSketch;
}

Options OptionTable::parse(const QStringList& arguments)
{
    if (!m_parser.parse(arguments)) {
        throw UsageError(m_parser.errorText().toStdString());
    }
    Options options;
    if (m_parser.isSet(row(Option::Help).line)) {
        options.command = Options::Command::Help;
        return options;
    }
    if (m_parser.isSet(row(Option::Version).line)) {
        options.command = Options::Command::Version;
        return options;
    }
    if (!m_parser.positionalArguments().isEmpty()) {
        throw UsageError(
            QStringLiteral("unexpected argument '%1'").arg(m_parser.positionalArguments().first()).toStdString());
    }
    Given given;
    for (const Row& each : m_rows) {
        if (m_parser.isSet(each.line)) {
            given.insert(each.option);
        }
    }
    for (const Rule& rule : rules()) {
        check(rule, given);
    }
    for (const Row& each : m_rows) {
        // An option not given keeps its default, if it has one.
        if (each.store && (given.contains(each.option) || !each.line.defaultValues().isEmpty())) {
            each.store(options, m_parser.values(each.line));
        }
    }
    options.command = commandFor(given);
    return options;
}

} // namespace cli
