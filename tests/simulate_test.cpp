#include "board/board_tools.h"
#include "simulator/simulator_output.h"
#include "cli_process.h"
#include "generation/board_timing.h"
#include "generation/column_sampler.h"
#include "generation/default_texts.h"
#include "generation/panel_sketch_builder.h"
#include "generation/sign_animation.h"
#include "platform/qt_glyph_canvas.h"

#include <QFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <variant>

namespace {

using simulator::SimulatorOutput;
using generation::SignAnimation;
using Words = SimulatorOutput::Words;

// `ledmarquee-cli --simulate` run on the real builder and the simulated
// Mega, read back as frames.
class SimulateTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (const QStringList missing = board::BoardTools::missingForCompile(); !missing.isEmpty()) {
            GTEST_SKIP() << "Arduino tools absent: " << missing.join(QLatin1Char(' ')).toStdString();
        }
        qputenv("XDG_CACHE_HOME", LEDMARQUEE_BOARD_CACHE);
    }

    generation::PanelSketch defaultSketch()
    {
        generation::PanelSketchBuilder builder(sampler);
        return builder.buildPanelSketch(std::u16string(generation::kDefaultTitle),
                                        std::u16string(generation::kDefaultMessage),
                                        generation::RowWindow::standard());
    }

    // Runs the sketch file through --simulate; the frames it printed.
    std::vector<SimulatorOutput::Frame> simulate(const QByteArray& sketch, const char* seconds, tests::CliResult* result)
    {
        const QString path = folder.filePath(QStringLiteral("sketch.ino"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(sketch) == sketch.size());
        file.close();
        *result = tests::runCli({QStringLiteral("--simulate"), QString::fromLatin1(seconds), QStringLiteral("--sketch"), path});
        return frames(result->out);
    }

    static std::vector<SimulatorOutput::Frame> frames(const QByteArray& printed)
    {
        SimulatorOutput output;
        std::vector<SimulatorOutput::Frame> found;
        for (const QByteArray& line : printed.split('\n')) {
            if (line.isEmpty()) {
                continue; // after the last line end
            }
            for (const auto& event : output.read(QString::fromLatin1("frame " + line + "\n"))) {
                found.push_back(std::get<SimulatorOutput::Frame>(event));
            }
        }
        return found;
    }

    static Words board(const SignAnimation::Frame& frame) { return Words(frame); }

    QTemporaryDir folder;
    platform::QtGlyphCanvas canvas{QStringLiteral("新細明體")};
    generation::ColumnSampler sampler{canvas};
};

// The preview's model and the simulated board agree on the unedited sketch:
// every picture change the model plays is a line of --simulate, with the
// same picture, starting within 0.1 % of the same time since the first
// frame, through the blinks, the roll-up and the first marquee steps.
TEST_F(SimulateTest, PreviewModelPlaysWhatTheSimulatedBoardShows)
{
    const auto sketch = defaultSketch();
    tests::CliResult result;
    const auto shown = simulate(QByteArray::fromStdString(sketch.text), "5", &result);
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();

    const SignAnimation model(sketch.titleWords, sketch.messageWords, sketch.columnCount,
                              generation::BoardTiming::panelSketch());
    const double origin = model.frameStartMicroseconds(0);
    std::size_t line = 0;
    for (std::size_t f = 0; model.frameStartMicroseconds(f) - origin < 4.9e6; ++f) {
        if (f > 0 && model.frame(f) == model.frame(f - 1)) {
            continue;
        }
        SCOPED_TRACE(testing::Message() << "model frame " << f);
        ASSERT_LT(line, shown.size());
        EXPECT_EQ(shown[line].words, board(model.frame(f)));
        const double modelled = model.frameStartMicroseconds(f) - origin;
        const double simulated = double(shown[line].microseconds - shown[0].microseconds);
        EXPECT_LE(std::abs(simulated - modelled), modelled * 0.001);
        ++line;
    }
    EXPECT_GE(line, 30u) << "blinks, roll-up and marquee steps compared";
    if (line < shown.size()) {
        EXPECT_GE(double(shown[line].microseconds - shown[0].microseconds), 4.9e6 * 0.999) << "a change the model lacks";
    }
}

// The two edits a user makes by hand, fewer blinks and a faster marquee,
// and a title word typed over, show on the simulated board as it runs the
// edited text: the title blinks once, each marquee step takes 3 frames.
TEST_F(SimulateTest, HandEditsShowAsTheBoardRunsThem)
{
    const auto sketch = defaultSketch();
    QByteArray text = QByteArray::fromStdString(sketch.text);
    const auto edit = [&text](const QByteArray& from, const QByteArray& to) {
        ASSERT_EQ(text.count(from), 1) << from.toStdString();
        text.replace(from, to);
    };
    edit("for (k=0;k<=2;k++){", "for (k=0;k<=0;k++){");
    edit("for (j=0;j<=5;j++){", "for (j=0;j<=2;j++){");
    const qsizetype titleLine = text.indexOf("unsigned int b[]={\r\n") + 20;
    const qsizetype firstComma = text.indexOf(',', titleLine);
    text.replace(titleLine, firstComma - titleLine, " 12345");
    tests::CliResult result;
    const auto shown = simulate(text, "3", &result);
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    ASSERT_GE(shown.size(), 3u);

    Words title = board(SignAnimation(sketch.titleWords, {}, 0).frame(0));
    title[0] = 12345;
    EXPECT_EQ(shown[0].words, title);
    EXPECT_EQ(shown[1].words, Words{}) << "dark after the first blink";
    // One blink of 152 frames, then the roll-up's first step: the title
    // shifted 15 rows, not the title again.
    Words rolled{};
    for (std::size_t j = 0; j < rolled.size(); ++j) {
        rolled[j] = static_cast<std::uint16_t>(title[j] << 15);
    }
    EXPECT_EQ(shown[2].words, rolled);
    EXPECT_NEAR(double(shown[2].microseconds - shown[0].microseconds), 152 * 6545.0, 152 * 6545.0 * 0.01);

    // Marquee step s shows c[s .. s + 63]: 64 dark entries, then the message.
    const auto step = [&](std::size_t s) {
        Words words{};
        for (std::size_t j = 0; j < words.size(); ++j) {
            const std::size_t at = j + s;
            if (at >= 64 && at - 64 < sketch.messageWords.size()) {
                words[j] = SignAnimation::boardValue(sketch.messageWords[at - 64]);
            }
        }
        return words;
    };
    std::size_t line = 3;
    while (line < shown.size() && shown[line].words != Words{}) {
        ++line; // the rest of the roll-up, to the marquee's dark first step
    }
    ASSERT_LT(line, shown.size());
    const std::uint64_t marqueeStart = shown[line].microseconds;
    // Three frames of 6,544.7 us and the 58.8 us that fill a[] for each step.
    const double stepMicroseconds = 3 * 6544.7 + 58.8;
    std::size_t previous = 0;
    int steps = 0;
    for (++line; line < shown.size(); ++line, ++steps) {
        // A step that looks like the one before prints no line.
        std::size_t s = previous + 1;
        while (s < previous + 64 && step(s) != shown[line].words) {
            ++s;
        }
        ASSERT_EQ(step(s), shown[line].words) << "line " << line << " is no marquee step after " << previous;
        const double elapsed = double(shown[line].microseconds - marqueeStart);
        EXPECT_NEAR(elapsed, double(s) * stepMicroseconds, elapsed * 0.005) << "step " << s;
        previous = s;
    }
    EXPECT_GE(steps, 10);
}

// bb.ino as the write button makes it, Big5 and wired to ports B and A, runs
// as it is on the disk.
TEST_F(SimulateTest, Big5SketchFileRunsOnPortsBA)
{
    const QString path = folder.filePath(QStringLiteral("bb.ino"));
    ASSERT_EQ(tests::runCli({QStringLiteral("--file-sketch"), QStringLiteral("--output"), path}).exitCode, 0);
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(written.readAll());
    ASSERT_TRUE(utf8.hasError()) << "the file is Big5, not UTF-8";

    const auto result = tests::runCli({QStringLiteral("--simulate"), QStringLiteral("1"), QStringLiteral("--sketch"), path});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains("ports B (high byte) and A")) << result.err.toStdString();
    const auto shown = frames(result.out);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown[0].words, board(SignAnimation(defaultSketch().titleWords, {}, 0).frame(0)));
}

// A sketch that never drives the sign is called so only at the end of the
// seconds asked for, which the error names; a sketch still waiting in
// setup() would have had until then.
TEST_F(SimulateTest, DarkSketchFailsAtTheEndOfItsSecondsAndNamesThem)
{
    tests::CliResult result;
    const auto shown = simulate("void setup() {}\nvoid loop() {}\n", "3", &result);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(result.err.contains("the sketch does not drive the sign: in 3.000 s")) << result.err.toStdString();
}

// On a terminal a long run says on standard error how far it has come and
// how long it has left; the frames on standard output stay frames only.
TEST_F(SimulateTest, LongRunShowsItsProgressOnATerminal)
{
    if (QStandardPaths::findExecutable(QStringLiteral("script")).isEmpty()) {
        GTEST_SKIP() << "script (util-linux) is not installed";
    }
    const QString framesPath = folder.filePath(QStringLiteral("frames.txt"));
    // script gives the tool a terminal; its standard output goes to a file.
    const auto terminal = tests::runCli({QStringLiteral("-qec"),
                                         QStringLiteral("'%1' --simulate 12 > '%2'").arg(QStringLiteral(LEDMARQUEE_CLI),
                                                                                         framesPath),
                                         QStringLiteral("/dev/null")},
                                        {}, QStringLiteral("script"));
    ASSERT_EQ(terminal.exitCode, 0) << terminal.out.toStdString();
    EXPECT_TRUE(terminal.out.contains("\rsimulated ")) << terminal.out.toStdString();
    EXPECT_TRUE(terminal.out.contains(" s of 12 s, about ")) << terminal.out.toStdString();
    QFile file(framesPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray printed = file.readAll();
    EXPECT_GT(printed.count('\n'), 100);
    EXPECT_EQ(frames(printed).size(), std::size_t(printed.count('\n'))) << "a line that is no frame";
}

} // namespace
