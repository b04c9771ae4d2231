#include "board/avrdude_output.h"
#include "board/builder_output.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

using board::AvrdudeOutput;
using board::BoardFailure;
using board::BuilderOutput;

// avrdude's whole output read at once.
board::BoardOutcome avrdudeOutcome(const QString& output, int exitCode)
{
    AvrdudeOutput reader;
    reader.read(output);
    return reader.end(exitCode);
}

// avrdude 7.1's own words, captured from runs against a missing device, a
// port held with TIOCEXCL, a port without access, /dev/null and a
// pseudo-terminal nobody answers on.
TEST(AvrdudeOutputTest, EachPortProblemHasItsFailure)
{
    const struct {
        const char* output;
        BoardFailure failure;
    } cases[] = {
        {"avrdude OS error: cannot open port /dev/ttyUSB9: No such file or directory\n"
         "avrdude OS error: ioctl(\"TIOCMGET\"): Inappropriate ioctl for device\n",
         BoardFailure::PortNotFound},
        {"avrdude OS error: cannot open port /dev/pts/0: Device or resource busy\n", BoardFailure::PortBusy},
        {"avrdude OS error: cannot open port /dev/pts/0: Permission denied\n", BoardFailure::PermissionDenied},
        {"avrdude OS error: cannot set attributes for port /dev/null: Inappropriate ioctl for device\n"
         "avrdude OS error: ioctl(\"TIOCMGET\"): Bad file descriptor\n"
         "avrdude error: timeout communicating with programmer\n"
         "avrdude error: unable to open programmer wiring on port /dev/null\n",
         BoardFailure::PortNotFound},
        {"avrdude error: timeout\navrdude error: timeout\n"
         "avrdude error: timeout communicating with programmer\n"
         "avrdude error: unable to open programmer wiring on port /dev/pts/0\n\navrdude done.  Thank you.\n",
         BoardFailure::BoardNotAnswering},
    };
    for (const auto& c : cases) {
        const auto outcome = avrdudeOutcome(QString::fromLatin1(c.output), 1);
        EXPECT_EQ(outcome.failure, c.failure) << c.output;
        EXPECT_FALSE(outcome.detail.isEmpty()) << c.output;
    }
    EXPECT_EQ(avrdudeOutcome(QStringLiteral("avrdude OS error: cannot open port /dev/pts/0: Permission denied"), 1).detail,
              QStringLiteral("cannot open /dev/pts/0: Permission denied"));
}

TEST(AvrdudeOutputTest, OnlyAVerifiedFlashWithExitZeroIsSuccess)
{
    const QString verified = QStringLiteral(
        "avrdude: writing 672 bytes flash ...\n\nWriting | ################################################## | 100% 0.07s\n\n"
        "avrdude: 672 bytes of flash written\navrdude: verifying flash memory against sketch.ino.hex\n\n"
        "Reading | ################################################## | 100% 0.06s\n\n"
        "avrdude: 672 bytes of flash verified\n\navrdude done.  Thank you.\n");
    EXPECT_TRUE(avrdudeOutcome(verified, 0).ok());
    EXPECT_FALSE(avrdudeOutcome(verified, 1).ok());
    const QString unverified = verified.left(verified.indexOf(QLatin1String("avrdude: verifying")));
    EXPECT_EQ(avrdudeOutcome(unverified, 0).failure, BoardFailure::VerifyFailed);
}

// The bars as avrdude draws them, a '#' at a time with no line end until
// the bar is full, read as they arrive.
TEST(AvrdudeOutputTest, ProgressCountsTheWriteAndVerifyBarsOnly)
{
    AvrdudeOutput reader;
    reader.read(u"avrdude: AVR device initialized and ready to accept instructions\n\n"
                u"Reading | ################################################## | 100% 0.01s\n\n"
                u"avrdude: device sig");
    EXPECT_FALSE(reader.boardAnswered());
    reader.read(u"nature = 0x1e9801 (probably m2560)\n");
    EXPECT_TRUE(reader.boardAnswered());
    EXPECT_EQ(reader.uploadPercent(), 0);
    reader.read(u"avrdude: writing 4424 bytes flash ...\n\nWriting | ");
    reader.read(QString(20, QLatin1Char('#')));
    EXPECT_EQ(reader.uploadPercent(), 20);
    reader.read(QString(30, QLatin1Char('#')) + QStringLiteral(" | 100% 0.40s\n\navrdude: 4424 bytes of flash written\n"
                                                               "avrdude: verifying flash memory against "
                                                               "/tmp/#1/sketch.ino.hex\n\nReading | "));
    EXPECT_EQ(reader.uploadPercent(), 50);
    reader.read(QString(25, QLatin1Char('#')));
    EXPECT_EQ(reader.uploadPercent(), 75);
}

// arduino-builder's output (C.UTF-8) for a sketch calling an undeclared
// function, for one stopped by an #error holding Chinese text, and for one
// that compiled.
TEST(BuilderOutputTest, FirstErrorLineAndSizes)
{
    const auto undeclared = BuilderOutput::read(QStringLiteral(
        "/tmp/b/sketch/sketch.ino: In function \u2018void loop()\u2019:\n"
        "/tmp/b/sketch/sketch.ino:2:28: error: \u2018foo\u2019 was not declared in this scope\n"
        " void loop() { PORTK++; foo(); }\n                            ^\nexit status 1\n"), 1);
    EXPECT_EQ(undeclared.failure, BoardFailure::CompileFailed);
    EXPECT_EQ(undeclared.sketchLine, 2);
    EXPECT_EQ(undeclared.detail, QStringLiteral("sketch line 2: \u2018foo\u2019 was not declared in this scope"));
    EXPECT_EQ(undeclared.toolMessage, QStringLiteral("\u2018foo\u2019 was not declared in this scope"));

    const auto stopped = BuilderOutput::read(QStringLiteral("/tmp/b/sketch/sketch.ino:4:2: error: #error 看板訊息太長\n"
                                                            " #error 看板訊息太長\n  ^\nexit status 1\n"),
                                             1);
    EXPECT_EQ(stopped.sketchLine, 4);
    EXPECT_EQ(stopped.detail, QStringLiteral("sketch line 4: #error 看板訊息太長"));

    // An error in the core, not in the sketch, points at no sketch line.
    EXPECT_EQ(BuilderOutput::read(QStringLiteral(
                  "/usr/share/arduino/hardware/arduino/avr/cores/arduino/main.cpp:43:1: error: expected "
                  "\u2018}\u2019 at end of input\n"), 1).sketchLine,
              0);

    const auto compiled = BuilderOutput::read(
        QStringLiteral("Sketch uses 4424 bytes (1%) of program storage space. Maximum is 253952 bytes.\n"
                       "Global variables use 3103 bytes (37%) of dynamic memory, leaving 5089 bytes for local "
                       "variables. Maximum is 8192 bytes.\n"),
        0);
    EXPECT_TRUE(compiled.ok());
    EXPECT_EQ(compiled.flashBytes, 4424);
    EXPECT_EQ(compiled.sramBytes, 3103);
}

QString captured(const char* name)
{
    QFile file(QStringLiteral(LEDMARQUEE_SOURCE_DIR "/tests/captured/builder_%1.txt").arg(QLatin1String(name)));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return QString::fromUtf8(file.readAll());
}

// The real builder's output for sketches the linker rejects
// (scripts/capture-builder-output): what the linker named is kept, and the
// one line never falls back to the builder's exit status.
TEST(BuilderOutputTest, LinkerErrorsKeepWhatTheLinkerNamed)
{
    using Kind = board::BuildError::Kind;
    const auto noLoop = BuilderOutput::read(captured("no_loop"), 1);
    EXPECT_EQ(noLoop.failure, BoardFailure::CompileFailed);
    EXPECT_EQ(noLoop.buildError.kind, Kind::Undefined);
    EXPECT_EQ(noLoop.buildError.symbols, QStringList{QStringLiteral("loop")});
    EXPECT_EQ(noLoop.detail, QStringLiteral("no loop() is defined (every sketch needs setup() and loop())"));
    EXPECT_EQ(noLoop.sketchLine, 0);

    const auto empty = BuilderOutput::read(captured("empty"), 1);
    EXPECT_EQ(empty.buildError.symbols, (QStringList{QStringLiteral("setup"), QStringLiteral("loop")}));
    EXPECT_TRUE(empty.buildError.lacksSetupOrLoop());

    const auto twice = BuilderOutput::read(captured("defined_twice"), 1);
    EXPECT_EQ(twice.buildError.kind, Kind::DefinedTwice);
    EXPECT_EQ(twice.buildError.symbols, QStringList{QStringLiteral("millis")});

    const auto board = BuilderOutput::read(captured("too_big_for_the_board"), 1);
    EXPECT_EQ(board.buildError.kind, Kind::FlashFull);
    EXPECT_EQ(board.buildError.usedBytes, 256898);
    EXPECT_EQ(board.buildError.mostBytes, 253952);
    EXPECT_EQ(BuilderOutput::read(captured("too_big_for_the_flash"), 1).buildError.kind, Kind::FlashFull);
    EXPECT_EQ(BuilderOutput::read(captured("variables_too_big"), 1).buildError.kind, Kind::SramFull);

    for (const char* name : {"no_loop", "empty", "defined_twice", "too_big_for_the_board", "too_big_for_the_flash",
                             "variables_too_big"}) {
        EXPECT_FALSE(BuilderOutput::read(captured(name), 1).detail.contains(QLatin1String("exit status"))) << name;
    }
}

} // namespace
