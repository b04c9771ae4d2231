#include "avr_toolchain.h"
#include "recorded_sign.h"

#include "generation/board_memory.h"
#include "generation/board_timing.h"
#include "generation/column_sampler.h"
#include "generation/panel_sketch_builder.h"
#include "generation/sign_animation.h"
#include "generation/sketch_file_writer.h"
#include "generation/wiring_test_sketch.h"
#include "generation/wiring_test_timing.h"
#include "platform/big5_line_file_opener.h"
#include "platform/qt_glyph_canvas.h"
#include "simulator/simulated_mega.h"
#include "window/memory_line.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace {

using generation::BoardMemory;
using generation::BoardTiming;
using generation::PortWiring;
using generation::SignAnimation;
using generation::WiringTestTiming;

class BoardModelTest : public testing::Test {
protected:
    void SetUp() override
    {
        toolchain = tests::AvrToolchain::instance();
        if (toolchain == nullptr) {
            GTEST_SKIP() << "AVR toolchain absent: " << tests::AvrToolchain::why().toStdString();
        }
    }

    generation::PanelSketch panelSketch(const std::u16string& title, const std::u16string& message)
    {
        generation::PanelSketchBuilder builder(sampler);
        return builder.buildPanelSketch(title, message, generation::RowWindow::standard());
    }

    QByteArray fileSketch(const std::u16string& title, const std::u16string& message)
    {
        QTemporaryDir folder;
        QDir(folder.path()).mkdir("bb");
        platform::Big5LineFileOpener opener;
        generation::SketchFileWriter writer(sampler, opener,
                                            generation::SketchFileWriter::sketchFilePath(folder.path().toStdString()));
        writer.writeSketchFile(title, message);
        QFile file(folder.filePath("bb/bb.ino"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Runs the built sketch for one whole loop and a frame more; the frame
    // starts, in cycles.
    std::vector<double> frameStarts(const QString& name, const char* ports, std::size_t frames,
                                    simulator::SimulatedMega::StackDepth* stack)
    {
        simulator::SimulatedMega mega;
        QString error;
        EXPECT_TRUE(mega.loadElf(toolchain->elfPath(name), &error)) << error.toStdString();
        const tests::RecordedSign sign(mega, ports);
        while (sign.frames().size() <= frames + 1 && mega.run(4000000)) {
        }
        *stack = mega.stackDepth();
        return shown(sign).starts;
    }

    // What the board showed: the frames that started from cycle `from` on,
    // with their starts in cycles and their pictures.
    struct Shown {
        std::vector<double> starts;
        std::vector<SignAnimation::Frame> pictures;
    };
    static Shown shown(const tests::RecordedSign& sign, std::uint64_t from = 0)
    {
        Shown found;
        for (const auto& frame : sign.framesFrom(from)) {
            found.starts.push_back(tests::RecordedSign::startCycle(frame));
            found.pictures.push_back(frame.words);
        }
        return found;
    }

    tests::AvrToolchain* toolchain = nullptr;
    platform::QtGlyphCanvas canvas{QStringLiteral("新細明體")};
    generation::ColumnSampler sampler{canvas};
};

std::u16string chinese(std::size_t length)
{
    return std::u16string(length, u'測');
}

// What each phase of a measured loop took, in the model's terms; printed
// so that the figures in BoardTiming can be measured again.
BoardTiming measuredTiming(const std::vector<double>& starts, std::size_t frameCount)
{
    const auto length = [&](std::size_t f) { return starts[f + 1] - starts[f]; };
    const auto mean = [&](std::size_t from, std::size_t to, std::size_t period, std::size_t firstIn,
                          std::size_t lastIn) {
        double sum = 0;
        int count = 0;
        for (std::size_t f = from; f < to; ++f) {
            const std::size_t r = (f - from) % period;
            if (r >= firstIn && r < lastIn) {
                sum += length(f);
                ++count;
            }
        }
        return sum / count;
    };
    BoardTiming t{};
    t.litFrame = mean(0, 456, 152, 0, 100);
    t.darkFrame = mean(0, 456, 152, 101, 151);
    t.blinkStep = (length(151) + length(303)) / 2 - t.darkFrame;
    t.rollFrame = mean(456, 632, 11, 0, 10);
    t.rollStep = mean(456, 632, 11, 10, 11) - t.rollFrame;
    t.marqueeFrame = mean(632, frameCount, 6, 0, 5);
    t.marqueeStep = mean(632, frameCount - 1, 6, 5, 6) - t.marqueeFrame;
    const SignAnimation model({}, {}, (frameCount - 632) / 6 - 1, t);
    t.loopReturn = starts[frameCount] - starts[0] - model.loopMicroseconds() * 16;
    std::printf("measured {%.1f, %.2f, %.2f, %.1f, %.2f, %.1f, %.2f, %.1f}\n", t.blinkStep, t.litFrame, t.darkFrame,
                t.rollStep, t.rollFrame, t.marqueeStep, t.marqueeFrame, t.loopReturn);
    return t;
}

TEST_F(BoardModelTest, MemoryFiguresAreWhatTheToolchainReports)
{
    // Both standard sketches, from short to past the SRAM, around where
    // each stops fitting; a sketch the model calls too big must not link.
    for (std::size_t length : {0u, 84u, 276u, 277u, 279u, 280u}) {
        for (BoardMemory::Sketch sketch : {BoardMemory::Sketch::Panel, BoardMemory::Sketch::File}) {
            const bool file = sketch == BoardMemory::Sketch::File;
            SCOPED_TRACE(testing::Message() << (file ? "file " : "panel ") << length);
            const auto panel = panelSketch(u"標題", chinese(length));
            const QByteArray text = file ? fileSketch(u"標題", chinese(length)) : QByteArray::fromStdString(panel.text);
            QString error;
            const auto sizes = toolchain->build(text, "memory", &error, true);
            ASSERT_TRUE(sizes.has_value()) << error.toStdString();
            const std::size_t bytes =
                BoardMemory::sketchBytes(BoardMemory::columnCount(sketch, length, panel.drawnWidth));
            EXPECT_EQ(bytes, std::size_t(sizes->data + sizes->bss));
            if (length >= 277) {
                EXPECT_EQ(toolchain->build(text, "strict", &error).has_value(),
                          BoardMemory::fit(bytes) != BoardMemory::Fit::TooBig);
            }
        }
    }
    // The longest message each sketch holds with its stack's room, as the
    // memory line and the README say, lies among the lengths built above.
    EXPECT_EQ(BoardMemory::longestMessageThatFits(BoardMemory::Sketch::Panel), 279u);
    EXPECT_EQ(BoardMemory::longestMessageThatFits(BoardMemory::Sketch::File), 276u);

    // The whole message in flash: one array, several read near, several
    // read far, and close to the widest.
    for (std::size_t length : {4u, 1000u, 2010u, 7000u}) {
        SCOPED_TRACE(testing::Message() << "whole " << length);
        generation::PanelSketchBuilder builder(sampler);
        const auto sketch = builder.buildPanelSketch(u"標題", chinese(length), generation::RowWindow::standard(), true);
        QString error;
        const auto sizes = toolchain->build(QByteArray::fromStdString(sketch.text), "whole", &error);
        ASSERT_TRUE(sizes.has_value()) << error.toStdString();
        const std::size_t width = sketch.messageWords.size();
        EXPECT_EQ(BoardMemory::wholeMessageSramBytes(width), std::size_t(sizes->data + sizes->bss));
        EXPECT_NEAR(double(BoardMemory::wholeMessageFlashBytes(width)), double(sizes->text + sizes->data),
                    double(BoardMemory::kFlashSlackBytes));
    }
    EXPECT_LE(BoardMemory::wholeMessageFlashBytes(BoardMemory::kMaxFlashColumns) + BoardMemory::kFlashSlackBytes,
              BoardMemory::kFlashBytes);
}

TEST_F(BoardModelTest, PreviewLoopLastsWhatTheBoardLoopLasts)
{
    struct Case {
        const char* name;
        const char* ports;
        BoardTiming timing;
        bool file;
        bool whole;
    };
    for (const Case& c : {Case{"timepanel", "CKF", BoardTiming::panelSketch(), false, false},
                          Case{"timefile", "CBA", BoardTiming::fileSketch(), true, false},
                          Case{"timewhole", "CKF", BoardTiming::wholeMessageSketch(), false, true}}) {
        SCOPED_TRACE(c.name);
        // Not the message the figures were measured with.
        const std::u16string message = u"新年快樂";
        generation::PanelSketchBuilder builder(sampler);
        const auto panel = builder.buildPanelSketch(u"標題", message, generation::RowWindow::standard(), c.whole);
        const std::size_t columns =
            c.file ? generation::SketchFileWriter::messageColumnCount(message.size(), panel.drawnWidth)
                   : panel.columnCount;
        const QByteArray text = c.file ? fileSketch(u"標題", message) : QByteArray::fromStdString(panel.text);
        QString error;
        ASSERT_TRUE(toolchain->build(text, c.name, &error)) << error.toStdString();
        const SignAnimation animation({}, {}, columns, c.timing);
        simulator::SimulatedMega::StackDepth stack;
        const auto starts = frameStarts(c.name, c.ports, animation.frameCount(), &stack);
        ASSERT_GT(starts.size(), animation.frameCount());
        measuredTiming(starts, animation.frameCount());
        std::printf("stack: %d bytes in the loop, %d more in an interrupt\n", stack.enabled, stack.interrupt);

        const double loop = starts[animation.frameCount()] - starts[0];
        std::printf("loop: %.0f cycles on the board, %.0f modelled\n", loop, animation.loopMicroseconds() * 16);
        EXPECT_NEAR(animation.loopMicroseconds() * 16, loop, loop * 0.001);
        for (std::size_t f = 0; f < animation.frameCount(); ++f) {
            const double modelled = (animation.frameStartMicroseconds(f) - animation.frameStartMicroseconds(0)) * 16;
            ASSERT_NEAR(modelled, starts[f] - starts[0], loop * 0.001) << "frame " << f;
        }
        // The stack goes as deep as the memory model leaves room for.
        EXPECT_EQ(std::size_t(stack.enabled + stack.interrupt), BoardMemory::kStackBytes);
    }
}

// The sketch file's marquee runs until the message's last drawn column has
// entered the sign, though a Chinese message of 30 characters draws wider
// than 30 x 14 + 16 columns: its last step shows the last character, on
// ports B and A.
TEST_F(BoardModelTest, FileSketchScrollsAChineseMessageToItsLastCharacter)
{
    const std::u16string message = u"歡迎光臨本校電子社成果展今年我們製作了會發光的看板請多多指教";
    const auto panel = panelSketch(u"標題", message);
    const std::size_t slen = panel.drawnWidth;
    ASSERT_GT(slen, message.size() * 14 + 16);
    const QByteArray text = fileSketch(u"標題", message);
    ASSERT_NE(text.indexOf("unsigned int slen= " + QByteArray::number(qulonglong(slen)) + ";"), -1);
    QString error;
    ASSERT_TRUE(toolchain->build(text, "filemarquee", &error)) << error.toStdString();

    simulator::SimulatedMega mega;
    ASSERT_TRUE(mega.loadElf(toolchain->elfPath("filemarquee"), &error)) << error.toStdString();
    const long counter = mega.symbolAddress("k");
    ASSERT_GE(counter, 0);
    const tests::RecordedSign sign(mega, "CBA");
    // Blinks and roll-up: 632 frames of 64 columns of some 1,630 cycles.
    ASSERT_TRUE(mega.run(67000000));
    // The marquee's step k shows c[k] .. c[k + 63]: 64 dark entries, then
    // the message. The counter is moved on rather than waited for; the step
    // under way ends first, then comes the last one, step slen.
    const std::size_t before = slen - 1;
    mega.setData(static_cast<std::size_t>(counter), static_cast<std::uint8_t>(before & 0xFF));
    mega.setData(static_cast<std::size_t>(counter + 1), static_cast<std::uint8_t>(before >> 8));
    const std::uint64_t from = mega.cycle();
    ASSERT_TRUE(mega.run(3 * 6 * 64 * 1700));

    tests::RecordedSign::Words lastStep{};
    for (std::size_t n = slen - 64; n < slen; ++n) {
        lastStep[n - (slen - 64)] = SignAnimation::boardValue(panel.messageWords[n]);
    }
    ASSERT_TRUE(std::any_of(lastStep.end() - 16, lastStep.end(), [](std::uint16_t word) { return word != 0; }));
    EXPECT_TRUE(sign.showed(lastStep, from)) << "message columns " << slen - 64 << " to " << slen - 1;
}

TEST_F(BoardModelTest, StepFramesSetHowManyFramesEachMarqueeColumnStays)
{
    for (int stepFrames : {3, 30}) {
        SCOPED_TRACE(stepFrames);
        generation::PanelSketchBuilder builder(sampler);
        const auto sketch = builder.buildPanelSketch(u"標題", u"新年快樂", generation::RowWindow::standard(), false,
                                                     stepFrames);
        const QString name = QStringLiteral("speed%1").arg(stepFrames);
        QString error;
        ASSERT_TRUE(toolchain->build(QByteArray::fromStdString(sketch.text), name, &error)) << error.toStdString();
        simulator::SimulatedMega mega;
        ASSERT_TRUE(mega.loadElf(toolchain->elfPath(name), &error)) << error.toStdString();
        const tests::RecordedSign sign(mega, "CKF");
        const SignAnimation model(sketch.titleWords, sketch.messageWords, sketch.columnCount,
                                  BoardTiming::panelSketch(), stepFrames);
        const std::size_t marqueeStart = 3 * (101 + 51) + 16 * 11;
        ASSERT_TRUE(mega.run(std::uint64_t(model.frameStartMicroseconds(marqueeStart + 1) * 16)));

        // Past the title, the step counter is moved on to where the message
        // fills the sign; the step under way finishes, then come the next.
        const long counter = mega.symbolAddress("k");
        ASSERT_GE(counter, 0);
        const std::size_t jump = 40;
        mega.setData(std::size_t(counter), std::uint8_t(jump));
        mega.setData(std::size_t(counter) + 1, 0);
        const std::uint64_t from = mega.cycle();
        const double step = BoardTiming::panelSketch().marqueeStepMicroseconds(stepFrames) * 16;
        ASSERT_TRUE(mega.run(std::uint64_t(5 * step)));
        const Shown shown = this->shown(sign, from);

        // Runs of the same picture, after the step that was under way.
        std::size_t f = 0;
        while (f < shown.pictures.size() && shown.pictures[f] != model.frame(marqueeStart + (jump + 1) * stepFrames)) {
            ++f;
        }
        for (std::size_t s = jump + 1; s <= jump + 3; ++s) {
            const SignAnimation::Frame expected = model.frame(marqueeStart + s * stepFrames);
            ASSERT_NE(expected, model.frame(marqueeStart + (s + 1) * stepFrames)) << "the message moves";
            const std::size_t first = f;
            while (f < shown.pictures.size() && shown.pictures[f] == expected) {
                ++f;
            }
            EXPECT_EQ(f - first, std::size_t(stepFrames)) << "frames of step " << s;
            ASSERT_LT(f, shown.starts.size());
            // The step lasts what the preview plays: its frames and the
            // same work before them at every speed.
            EXPECT_NEAR(shown.starts[f] - shown.starts[first], step, step * 0.001) << "step " << s;
            std::printf("%d frames a step: %.0f cycles on the board, %.0f modelled\n", stepFrames,
                        shown.starts[f] - shown.starts[first], step);
        }
    }
}

TEST_F(BoardModelTest, WiringTestLightsEachRowThenEachColumnThenAllForTheirTimes)
{
    using generation::WiringTestSketch;
    struct Case {
        PortWiring wiring;
        const char* name;
        const char* ports;
    };
    for (const Case& c : {Case{PortWiring::PortsKF, "wiringkf", "CKF"}, Case{PortWiring::PortsBA, "wiringba", "CBA"}}) {
        SCOPED_TRACE(c.name);
        QString error;
        const auto sizes = toolchain->build(QByteArray::fromStdString(WiringTestSketch::text(c.wiring)), c.name, &error);
        ASSERT_TRUE(sizes) << error.toStdString();
        if (c.wiring == PortWiring::PortsKF) {
            // The memory line's figures for the panel's wiring test.
            EXPECT_EQ(std::size_t(sizes->data + sizes->bss), BoardMemory::kWiringTestSramBytes);
            EXPECT_NEAR(double(sizes->text + sizes->data), double(BoardMemory::kWiringTestFlashBytes),
                        double(BoardMemory::kFlashSlackBytes));
        }
        simulator::SimulatedMega mega;
        ASSERT_TRUE(mega.loadElf(toolchain->elfPath(c.name), &error)) << error.toStdString();
        const tests::RecordedSign sign(mega, c.ports);
        const SignAnimation model = SignAnimation::wiringTest(c.wiring);
        const double frame = WiringTestTiming::forWiring(c.wiring).frame;
        ASSERT_TRUE(mega.run(std::uint64_t(model.loopMicroseconds() * 16 + 3 * frame)));
        const Shown shown = this->shown(sign);
        ASSERT_GT(shown.starts.size(), model.frameCount() + 1);

        // One loop is 81 pictures, each held for a run of frames: each row
        // alone from the top (bit 0), each column alone from the left, then
        // everything; then the first row again.
        std::vector<std::size_t> runStarts;
        for (std::size_t f = 0; f <= model.frameCount(); ++f) {
            if (f == 0 || shown.pictures[f] != shown.pictures[f - 1]) {
                runStarts.push_back(f);
            }
        }
        ASSERT_EQ(runStarts.size(), 16u + 64u + 1u + 1u);
        ASSERT_EQ(runStarts.back(), model.frameCount());
        std::vector<double> extra(3, 0.0); // work before a row's, a column's and everything's frames
        for (std::size_t run = 0; run + 1 < runStarts.size(); ++run) {
            SignAnimation::Frame expected{};
            double target = WiringTestSketch::kColumnMicroseconds;
            int kind = 1;
            if (run < 16) {
                expected.fill(std::uint16_t(1u << run));
                target = WiringTestSketch::kRowMicroseconds;
                kind = 0;
            } else if (run < 80) {
                expected[run - 16] = 0xFFFF;
            } else {
                expected.fill(0xFFFF);
                target = WiringTestSketch::kEverythingMicroseconds;
                kind = 2;
            }
            ASSERT_EQ(shown.pictures[runStarts[run]], expected) << "picture " << run;
            const double lasted = (shown.starts[runStarts[run + 1]] - shown.starts[runStarts[run]]) / 16;
            // The nearest whole number of frames to the time asked for.
            EXPECT_NEAR(lasted, target, frame / 16 / 2 + 200) << "picture " << run;
            if (run > 0) {
                extra[std::size_t(kind)] += shown.starts[runStarts[run]] - shown.starts[runStarts[run] - 1] - frame;
            }
            if (run == 0 || run == 16 || run == 80) {
                std::printf("%s picture %zu lasts %.1f ms\n", c.name, run, lasted / 1000);
            }
        }
        // From the last frame of everything to the first row's, loop()
        // returns and fills a[] for the first row.
        const double looped = shown.starts[model.frameCount()] - shown.starts[model.frameCount() - 1] - frame;
        double frames = 0;
        int counted = 0;
        for (std::size_t f = 0; f < model.frameCount(); ++f) {
            if (shown.pictures[f + 1] == shown.pictures[f]) {
                frames += shown.starts[f + 1] - shown.starts[f];
                ++counted;
            }
        }
        std::printf("measured {%.1f, %.1f, %.1f, %.2f, %.1f}\n", extra[0] / 15, extra[1] / 64, extra[2],
                    frames / counted, looped - extra[0] / 15);

        // The preview plays the loop as the board runs it.
        const double loop = shown.starts[model.frameCount()] - shown.starts[0];
        EXPECT_NEAR(model.loopMicroseconds() * 16, loop, loop * 0.001);
        for (std::size_t f = 0; f < model.frameCount(); ++f) {
            ASSERT_EQ(model.frame(f), shown.pictures[f]) << "frame " << f;
            const double modelled = (model.frameStartMicroseconds(f) - model.frameStartMicroseconds(0)) * 16;
            ASSERT_NEAR(modelled, shown.starts[f] - shown.starts[0], loop * 0.001) << "frame " << f;
        }
    }
}

} // namespace
