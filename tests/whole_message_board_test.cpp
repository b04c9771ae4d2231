#include "avr_toolchain.h"
#include "recorded_sign.h"

#include "board/board_tools.h"
#include "simulator/simulated_mega.h"
#include "generation/column_sampler.h"
#include "generation/panel_sketch_builder.h"
#include "generation/sign_animation.h"
#include "platform/qt_glyph_canvas.h"

#include <QFile>
#include <QRegularExpression>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>


namespace {

const QString kCore = QLatin1String(board::BoardTools::kCoreFolder) + QStringLiteral("/cores/arduino");
const QString kVariant = QLatin1String(board::BoardTools::kCoreFolder) + QStringLiteral("/variants/mega");

bool run(const QString& program, const QStringList& arguments, QString* output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool ok = process.waitForFinished(600000) && process.exitStatus() == QProcess::NormalExit
                    && process.exitCode() == 0;
    *output = QString::fromLocal8Bit(process.readAll());
    return ok;
}

// Compiles and links the sketch as the IDE does for a Mega 2560, link-time
// optimisation included, against the core the shared toolchain built.
// Returns the ELF's path and puts avr-size's table in sizes.
QString buildWithLto(const QTemporaryDir& dir, const std::string& sketch, QString* output)
{
    QFile source(dir.filePath("sketch.cpp"));
    source.open(QIODevice::WriteOnly);
    source.write("#include <Arduino.h>\n#line 1 \"sketch.ino\"\n");
    source.write(sketch.data(), static_cast<qint64>(sketch.size()));
    source.close();
    const QStringList common = {"-g", "-Os", "-w", "-flto", "-mmcu=atmega2560", "-DF_CPU=16000000L",
                                "-DARDUINO=10819", "-DARDUINO_AVR_MEGA2560", "-DARDUINO_ARCH_AVR"};
    const QString object = dir.filePath("sketch.o");
    const QString elf = dir.filePath("sketch.elf");
    if (!run("avr-g++", QStringList{"-c", "-std=gnu++11", "-fpermissive", "-fno-exceptions", "-ffunction-sections",
                                    "-fdata-sections", "-fno-threadsafe-statics", "-Wno-error=narrowing",
                                    "-I" + kCore, "-I" + kVariant, source.fileName(), "-o", object}
                            + common,
             output)
        || !run("avr-gcc", common + QStringList{"-fuse-linker-plugin", "-Wl,--gc-sections", "-o", elf, object,
                                                QStringLiteral(LEDMARQUEE_AVR_CACHE) + "/core-lto.a", "-lm"},
                output)
        || !run("avr-size", {"-A", elf}, output)) {
        return {};
    }
    return elf;
}

std::u16string chineseMessage(std::size_t length)
{
    // Common characters in turn, none of them blank.
    const std::u16string pattern = u"恭喜發財新年快樂萬事如意身體健康學業進步心想事成";
    std::u16string message;
    while (message.size() < length) {
        message += pattern;
    }
    message.resize(length);
    return message;
}

class WholeMessageBoardTest : public testing::TestWithParam<std::size_t> {};

// A whole message of 1,000 Chinese characters (read with near addresses)
// and one as long as the flash holds (far addresses, the program itself past
// 128 KB), built and linked as the IDE would, fit the Mega 2560 and run on a
// simulated one: once the marquee runs, its counter is moved on to columns
// far past the canvas, and those columns, then the dark end, appear on
// ports K and F.
TEST_P(WholeMessageBoardTest, ScrollsToTheEnd)
{
    tests::AvrToolchain* toolchain = tests::AvrToolchain::instance();
    if (toolchain == nullptr) {
        GTEST_SKIP() << "AVR toolchain absent: " << tests::AvrToolchain::why().toStdString();
    }
    platform::QtGlyphCanvas canvas(QStringLiteral("新細明體"));
    generation::ColumnSampler sampler(canvas);
    generation::PanelSketchBuilder builder(sampler);
    const auto sketch = builder.buildPanelSketch(u"長訊息", chineseMessage(GetParam()), generation::RowWindow::standard(), true);
    const std::size_t width = sketch.messageWords.size();
    ASSERT_GE(width, GetParam() * 15);
    ASSERT_EQ(sketch.columnCount, width + 64);

    QTemporaryDir dir;
    QString output;
    const QString elf = buildWithLto(dir, sketch.text, &output);
    ASSERT_FALSE(elf.isEmpty()) << output.toStdString();
    const QRegularExpression text(QStringLiteral("^\\.text\\s+(\\d+)"), QRegularExpression::MultilineOption);
    EXPECT_LE(text.match(output).captured(1).toLong(), 253952) << "the flash below the bootloader";

    simulator::SimulatedMega mega;
    ASSERT_TRUE(mega.loadElf(elf, &output)) << output.toStdString();
    const long counter = mega.symbolAddress("k");
    ASSERT_GE(counter, 0);
    tests::RecordedSign sign(mega, "CKF");

    using Frame = tests::RecordedSign::Words;
    // Marquee step s shows columns s .. s + 63 of 64 dark columns, the
    // message and the dark columns after it.
    const auto expectedFrame = [&](std::size_t step) {
        Frame frame{};
        for (std::size_t j = 0; j < frame.size(); ++j) {
            const std::size_t n = j + step;
            if (n >= 64 && n < sketch.columnCount) {
                frame[j] = generation::SignAnimation::boardValue(sketch.messageWords[n - 64]);
            }
        }
        return frame;
    };
    // Blinks and roll-up: 632 frames of 64 columns of some 1,630 cycles.
    ASSERT_TRUE(mega.run(67000000));

    // Moves the counter on; the rest of the step under way runs, then two
    // steps of 6 frames. Returns the cycle the jump was made at.
    const auto jumpTo = [&](std::uint32_t step) {
        for (int byte = 0; byte < 4; ++byte) {
            mega.setData(static_cast<std::size_t>(counter + byte), static_cast<std::uint8_t>(step >> (8 * byte)));
        }
        const std::uint64_t from = mega.cycle();
        EXPECT_TRUE(mega.run(3 * 6 * 64 * 1700));
        return from;
    };

    const auto far = static_cast<std::uint32_t>(width - 2000);
    ASSERT_NE(expectedFrame(far + 1), Frame{}) << "the message shows there";
    const std::uint64_t fromFar = jumpTo(far);
    EXPECT_TRUE(sign.showed(expectedFrame(far + 1), fromFar) && sign.showed(expectedFrame(far + 2), fromFar))
        << "columns from " << far + 1 - 64;

    // Step slen - 1 shows the message's last column; step slen is dark.
    const auto end = static_cast<std::uint32_t>(sketch.columnCount);
    const std::uint64_t fromEnd = jumpTo(end - 2);
    EXPECT_TRUE(sign.showed(expectedFrame(end - 1), fromEnd)) << "the last columns";
    EXPECT_TRUE(sign.showed(expectedFrame(end), fromEnd)) << "the message has left the sign";
}

// 7,843 characters of 16 pixels are the widest message the tool accepts.
INSTANTIATE_TEST_SUITE_P(Lengths, WholeMessageBoardTest, testing::Values(1000u, 7843u));

} // namespace
