#include "board/sketch_compiler.h"
#include "board/sketch_uploader.h"

#include <gtest/gtest.h>

namespace {

using board::BoardFailure;
using board::SketchUploader;

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
        const auto outcome = SketchUploader::readAvrdudeOutput(QString::fromLatin1(c.output), 1);
        EXPECT_EQ(outcome.failure, c.failure) << c.output;
        EXPECT_FALSE(outcome.detail.isEmpty()) << c.output;
    }
    EXPECT_EQ(SketchUploader::readAvrdudeOutput(QStringLiteral("avrdude OS error: cannot open port /dev/pts/0: "
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
    EXPECT_TRUE(SketchUploader::readAvrdudeOutput(verified, 0).ok());
    EXPECT_FALSE(SketchUploader::readAvrdudeOutput(verified, 1).ok());
    const QString unverified = verified.left(verified.indexOf(QLatin1String("avrdude: verifying")));
    EXPECT_EQ(SketchUploader::readAvrdudeOutput(unverified, 0).failure, BoardFailure::VerifyFailed);
}

TEST(AvrdudeOutputTest, ProgressCountsTheWriteAndVerifyBarsOnly)
{
    const QString signature = QStringLiteral(
        "avrdude: AVR device initialized and ready to accept instructions\n\n"
        "Reading | ################################################## | 100% 0.01s\n\n"
        "avrdude: device signature = 0x1e9801 (probably m2560)\n");
    EXPECT_EQ(SketchUploader::uploadPercent(signature), 0);
    const QString writing = signature + QStringLiteral("avrdude: writing 4424 bytes flash ...\n\nWriting | ");
    EXPECT_EQ(SketchUploader::uploadPercent(writing + QString(20, QLatin1Char('#'))), 20);
    const QString verifying = writing + QString(50, QLatin1Char('#')) +
        QStringLiteral(" | 100% 0.40s\n\navrdude: 4424 bytes of flash written\n"
                       "avrdude: verifying flash memory against /tmp/#1/sketch.ino.hex\n\nReading | ");
    EXPECT_EQ(SketchUploader::uploadPercent(verifying), 50);
    EXPECT_EQ(SketchUploader::uploadPercent(verifying + QString(25, QLatin1Char('#'))), 75);
}

// arduino-builder's output for a sketch calling an undeclared function, and
// for one that compiled.
TEST(BuilderOutputTest, FirstErrorLineAndSizes)
{
    const auto [line, message] = board::SketchCompiler::firstError(QStringLiteral(
        "/tmp/b/sketch/sketch.ino: In function \u2018void loop()\u2019:\n"
        "/tmp/b/sketch/sketch.ino:2:28: error: \u2018foo\u2019 was not declared in this scope\n"
        " void loop() { PORTK++; foo(); }\n                            ^\nexit status 1\n"));
    EXPECT_EQ(line, 2);
    EXPECT_EQ(message, QStringLiteral("\u2018foo\u2019 was not declared in this scope"));

    board::BoardOutcome outcome;
    board::SketchCompiler::readSizes(
        QStringLiteral("Sketch uses 4424 bytes (1%) of program storage space. Maximum is 253952 bytes.\n"
                       "Global variables use 3103 bytes (37%) of dynamic memory, leaving 5089 bytes for local "
                       "variables. Maximum is 8192 bytes.\n"),
        outcome);
    EXPECT_EQ(outcome.flashBytes, 4424);
    EXPECT_EQ(outcome.sramBytes, 3103);
}

} // namespace
