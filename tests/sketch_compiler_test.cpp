#include "board/sketch_compiler.h"

#include "stand_in_builder.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using board::BoardOutcome;
using board::SketchCompiler;

// A stand-in arduino-builder first on PATH, and a build folder of the
// test's own: the builder counts its runs, waits until the test lets it
// finish, and leaves a HEX and an ELF where it is told to build.
class SketchCompilerTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_builder.ok()); }

    void letTheBuilderFinish() { QFile(m_builder.program() + ".go").open(QIODevice::WriteOnly); }
    int builderRuns() const { return m_builder.runs(); }

    static BoardOutcome compiled(SketchCompiler& compiler, const QString& text)
    {
        QSignalSpy finished(&compiler, &SketchCompiler::finished);
        compiler.compile(text);
        EXPECT_TRUE(finished.wait(10000));
        return finished.value(0).value(0).value<BoardOutcome>();
    }

private:
    tests::StandInBuilder m_builder{"#!/bin/sh\n"
                                    "echo run >> \"$0.runs\"\n"
                                    "for argument; do\n"
                                    "  [ \"$previous\" = -build-path ] && build=$argument\n"
                                    "  previous=$argument\n"
                                    "done\n"
                                    "while [ ! -e \"$0.go\" ]; do sleep 0.02; done\n"
                                    "echo hex > \"$build/sketch.ino.hex\"\n"
                                    "echo elf > \"$build/sketch.ino.elf\"\n"
                                    "echo 'Sketch uses 1234 bytes (0%) of program storage space. Maximum is 253952 bytes.'\n",
                                    tests::StandInBuilder::Cache::OwnFolder};
};

// The build folder remembers its build, for any compiler of any process:
// the same text again starts no builder and comes with the first build's
// files and figures; another text, or a file of the build gone, is built.
TEST_F(SketchCompilerTest, TheSameTextIsBuiltOnce)
{
    letTheBuilderFinish();
    SketchCompiler first;
    const BoardOutcome built = compiled(first, QStringLiteral("void setup() {}\r\nvoid loop() {}\r\n"));
    ASSERT_TRUE(built.ok()) << built.detail.toStdString();
    ASSERT_EQ(builderRuns(), 1);

    SketchCompiler second;
    const BoardOutcome again = compiled(second, QStringLiteral("void setup() {}\r\nvoid loop() {}\r\n"));
    EXPECT_TRUE(again.ok()) << again.detail.toStdString();
    EXPECT_EQ(builderRuns(), 1);
    EXPECT_EQ(again.hexPath, built.hexPath);
    EXPECT_EQ(again.elfPath, built.elfPath);
    EXPECT_EQ(again.flashBytes, 1234);

    EXPECT_TRUE(compiled(second, QStringLiteral("void setup() {}\r\nvoid loop() { }\r\n")).ok());
    EXPECT_EQ(builderRuns(), 2);
    ASSERT_TRUE(QFile::remove(built.elfPath));
    EXPECT_TRUE(compiled(second, QStringLiteral("void setup() {}\r\nvoid loop() { }\r\n")).ok());
    EXPECT_EQ(builderRuns(), 3) << "a record that names a file gone is no build";
}

// A compile of a text whose build is under way waits for it and takes its
// result, rather than starting a second builder.
TEST_F(SketchCompilerTest, ACompileJoinsTheBuildOfItsTextUnderWay)
{
    SketchCompiler background;
    SketchCompiler click;
    QSignalSpy backgroundDone(&background, &SketchCompiler::finished);
    QSignalSpy clickDone(&click, &SketchCompiler::finished);
    background.compile(QStringLiteral("void setup() {}\r\nvoid loop() {}\r\n"));
    ASSERT_TRUE(QTest::qWaitFor([this] { return builderRuns() == 1; }, 10000));
    click.compile(QStringLiteral("void setup() {}\r\nvoid loop() {}\r\n"));
    letTheBuilderFinish();

    ASSERT_TRUE(clickDone.wait(10000));
    ASSERT_EQ(backgroundDone.size(), 1);
    const auto clicked = clickDone.value(0).value(0).value<BoardOutcome>();
    EXPECT_TRUE(clicked.ok()) << clicked.detail.toStdString();
    EXPECT_EQ(clicked.hexPath, backgroundDone.value(0).value(0).value<BoardOutcome>().hexPath);
    EXPECT_EQ(builderRuns(), 1);
}

} // namespace
