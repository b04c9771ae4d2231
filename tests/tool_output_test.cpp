#include "board/avrdude_output.h"
#include "board/builder_output.h"

#include <gtest/gtest.h>

namespace {

using board::AvrdudeOutput;
using board::BoardFailure;
using board::BuilderOutput;

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
        const auto outcome = AvrdudeOutput::read(QString::fromLatin1(c.output), 1);
        EXPECT_EQ(outcome.failure, c.failure) << c.output;
        EXPECT_FALSE(outcome.detail.isEmpty()) << c.output;
    }
    EXPECT_EQ(AvrdudeOutput::read(QStringLiteral("avrdude OS error: cannot open port /dev/pts/0: "
                                                               "Permission denied\n"), 1).detail,
              QStringLiteral("cannot open /dev/pts/0: Permission denied"));
}

TEST(AvrdudeOutputTest, OnlyAVerifiedFlashWithExitZeroIsSuccess)
{
    const QString verified = QStringLiteral(
        "avrdude: writing 672 bytes flash ...\n\nWriting | ################################################## | 100% 0.07s\n\n"
        "avrdude: 672 bytes of flash written\navrdude: verifying flash memory against sketch.ino.hex\n\n"
        "Reading | ################################################## | 100% 0.06s\n\n"
        "avrdude: 672 bytes of flash verified\n\navrdude done.  Thank you.\n");
    EXPECT_TRUE(AvrdudeOutput::read(verified, 0).ok());
    EXPECT_FALSE(AvrdudeOutput::read(verified, 1).ok());
    const QString unverified = verified.left(verified.indexOf(QLatin1String("avrdude: verifying")));
    EXPECT_EQ(AvrdudeOutput::read(unverified, 0).failure, BoardFailure::VerifyFailed);
}

TEST(AvrdudeOutputTest, ProgressCountsTheWriteAndVerifyBarsOnly)
{
    const QString signature = QStringLiteral(
        "avrdude: AVR device initialized and ready to accept instructions\n\n"
        "Reading | ################################################## | 100% 0.01s\n\n"
        "avrdude: device signature = 0x1e9801 (probably m2560)\n");
    EXPECT_EQ(AvrdudeOutput::uploadPercent(signature), 0);
    const QString writing = signature + QStringLiteral("avrdude: writing 4424 bytes flash ...\n\nWriting | ");
    EXPECT_EQ(AvrdudeOutput::uploadPercent(writing + QString(20, QLatin1Char('#'))), 20);
    const QString verifying = writing + QString(50, QLatin1Char('#')) +
        QStringLiteral(" | 100% 0.40s\n\navrdude: 4424 bytes of flash written\n"
                       "avrdude: verifying flash memory against /tmp/#1/sketch.ino.hex\n\nReading | ");
    EXPECT_EQ(AvrdudeOutput::uploadPercent(verifying), 50);
    EXPECT_EQ(AvrdudeOutput::uploadPercent(verifying + QString(25, QLatin1Char('#'))), 75);
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

    const auto stopped = BuilderOutput::read(QStringLiteral("/tmp/b/sketch/sketch.ino:4:2: error: #error 看板訊息太長\n"
                                                            " #error 看板訊息太長\n  ^\nexit status 1\n"),
                                             1);
    EXPECT_EQ(stopped.sketchLine, 4);
    EXPECT_EQ(stopped.detail, QStringLiteral("sketch line 4: #error 看板訊息太長"));

    // An error in the core, not in the sketch, points at no sketch line.
    EXPECT_EQ(BuilderOutput::firstError(QStringLiteral(
                  "/usr/share/arduino/hardware/arduino/avr/cores/arduino/main.cpp:43:1: error: expected "
                  "\u2018}\u2019 at end of input\n")).sketchLine,
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

} // namespace
