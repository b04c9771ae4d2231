#include "cli_process.h"

#include "generation/column_sampler.h"
#include "generation/default_texts.h"
#include "generation/panel_sketch_builder.h"
#include "generation/sketch_file_writer.h"
#include "generation/string_line_file.h"
#include "generation/wiring_test_sketch.h"
#include "platform/big5_line_file_opener.h"
#include "platform/picture_file.h"
#include "platform/qt_glyph_canvas.h"
#include "platform/text_conversion.h"
#include "file_bytes.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using tests::runCli;

QList<QByteArray> lines(const QByteArray& text)
{
    return text.split('\n');
}

// The lines that differ between two sketches, by index.
std::vector<int> differingLines(const QByteArray& a, const QByteArray& b)
{
    const auto left = lines(a);
    const auto right = lines(b);
    std::vector<int> differing;
    for (int i = 0; i < std::max(left.size(), right.size()); ++i) {
        if (i >= left.size() || i >= right.size() || left[i] != right[i]) {
            differing.push_back(i);
        }
    }
    return differing;
}

using tests::readAll;

class CliTest : public testing::Test {
protected:
    static void SetUpTestSuite() { defaults = new tests::CliResult(runCli({})); }
    static void TearDownTestSuite() { delete defaults; }
    static tests::CliResult* defaults;
    QTemporaryDir dir;
};

tests::CliResult* CliTest::defaults = nullptr;

TEST_F(CliTest, DefaultOutputIsThePanelSketchOfTheWindowDefaults)
{
    platform::QtGlyphCanvas canvas(QStringLiteral("新細明體"));
    generation::ColumnSampler sampler(canvas);
    generation::PanelSketchBuilder builder(sampler);
    const std::string expected = builder.buildPanelSketch(std::u16string(generation::kDefaultTitle),
                                                          std::u16string(generation::kDefaultMessage),
                                                          generation::RowWindow::standard()).text;
    ASSERT_EQ(defaults->exitCode, 0) << defaults->err.constData();
    EXPECT_EQ(defaults->out.toStdString(), expected);
    EXPECT_TRUE(defaults->err.isEmpty()) << defaults->err.constData();
}

TEST_F(CliTest, TitleOptionsChangeOnlyTheTitleArray)
{
    for (const QStringList& options : {QStringList{"--title", "新年"}, QStringList{"--lowered"}}) {
        const auto result = runCli(options);
        ASSERT_EQ(result.exitCode, 0);
        EXPECT_EQ(differingLines(result.out, defaults->out), std::vector<int>{4}) << options.join(' ').toStdString();
    }
}

TEST_F(CliTest, StyleAndFaceOptionsChangeTheWords)
{
    for (const QStringList& options :
         {QStringList{"--bold"}, QStringList{"--italic"}, QStringList{"--face", "標楷體"}}) {
        const auto result = runCli(options);
        ASSERT_EQ(result.exitCode, 0);
        const auto differing = differingLines(result.out, defaults->out);
        EXPECT_TRUE(std::find(differing.begin(), differing.end(), 4) != differing.end()) << options.join(' ').toStdString();
        EXPECT_GT(differing.size(), 2u) << options.join(' ').toStdString();
        EXPECT_EQ(lines(result.out).size(), lines(defaults->out).size());
    }
}

TEST_F(CliTest, MessageFromOptionFileAndStandardInputAgree)
{
    const auto direct = runCli({"--message", "ab一"});
    ASSERT_EQ(direct.exitCode, 0);
    EXPECT_NE(direct.out.indexOf("unsigned int slen= 299;"), -1);

    const QString path = dir.filePath("message.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("ab\xe4\xb8\x80\r\n"); // one final line end is dropped
    file.close();
    EXPECT_EQ(runCli({"--message-file", path}).out, direct.out);
    EXPECT_EQ(runCli({"--message-file", "-"}, "ab\xe4\xb8\x80\n").out, direct.out);
    // Only one line end goes: a second one is part of the message.
    EXPECT_NE(runCli({"--message-file", "-"}, "ab\xe4\xb8\x80\n\n").out.indexOf("slen= 312;"), -1);
}

TEST_F(CliTest, OutputFileHoldsTheSameBytes)
{
    const QString path = dir.filePath("sketch.ino");
    const auto result = runCli({"--output", path});
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_EQ(readAll(path), defaults->out);
}

TEST_F(CliTest, UsageErrorsExitWithTwoAndPointToHelp)
{
    const QString badFile = dir.filePath("latin1.txt");
    QFile file(badFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("caf\xe9");
    file.close();
    const QString output = dir.filePath("never.ino");

    const std::vector<QStringList> cases = {
        {"--no-such-option"},
        {"--title"},
        {"stray"},
        {"--message-file", dir.filePath("missing.txt"), "--output", output},
        {"--message-file", badFile, "--output", output},
        {"--message", "a", "--message-file", badFile},
        {"--step-frames", "0"},
        {"--step-frames", "31"},
        {"--step-frames", "fast"},
        {"--wiring-test", "--message", "a"},
        {"--wiring-test", "--step-frames", "3"},
    };
    for (const auto& arguments : cases) {
        const auto result = runCli(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_TRUE(result.err.startsWith("ledmarquee-cli: ")) << result.err.constData();
        EXPECT_TRUE(result.err.endsWith("\nTry 'ledmarquee-cli --help' for more information.\n"))
            << result.err.constData();
        EXPECT_EQ(result.err.count('\n'), 2) << result.err.constData();
    }
    EXPECT_FALSE(QFile::exists(output));
}

TEST_F(CliTest, ArgumentThatIsNotUtf8IsRefused)
{
    // QProcess can only pass valid text, so a shell puts the raw byte in.
    const auto result = runCli({"-c", "exec \"$0\" --title \"$(printf 'a\\377')\"", QStringLiteral(LEDMARQUEE_CLI)}, {},
                               QStringLiteral("/bin/sh"));
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.indexOf("not valid UTF-8"), -1) << result.err.constData();
}

TEST_F(CliTest, FailedWriteExitsWithOneAndLeavesNoFile)
{
    const QString inMissingFolder = dir.filePath("missing/sketch.ino");
    const auto missing = runCli({"--output", inMissingFolder});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_FALSE(QFile::exists(inMissingFolder));

    ASSERT_TRUE(QDir(dir.path()).mkdir("taken"));
    const auto taken = runCli({"--output", dir.filePath("taken")});
    EXPECT_EQ(taken.exitCode, 1);
    EXPECT_TRUE(QFileInfo(dir.filePath("taken")).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 0);
}

TEST_F(CliTest, HelpAndVersionSucceed)
{
    const auto help = runCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.indexOf("--message-file"), -1);
    const auto version = runCli({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith("ledmarquee-cli "));
}

TEST_F(CliTest, FileSketchIsTheWritersBig5File)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("bb"));
    platform::QtGlyphCanvas canvas(QStringLiteral("新細明體"));
    generation::ColumnSampler sampler(canvas);
    platform::Big5LineFileOpener opener;
    generation::SketchFileWriter writer(sampler, opener,
                                        generation::SketchFileWriter::sketchFilePath(dir.path().toStdString()));
    writer.writeSketchFile(std::u16string(generation::kDefaultTitle), std::u16string(generation::kDefaultMessage));
    const QByteArray expected = readAll(dir.filePath("bb/bb.ino"));

    const auto printed = runCli({"--file-sketch"});
    ASSERT_EQ(printed.exitCode, 0) << printed.err.constData();
    EXPECT_EQ(printed.out, expected);

    const QString path = dir.filePath("file.ino");
    EXPECT_EQ(runCli({"--file-sketch", "--output", path}).exitCode, 0);
    EXPECT_EQ(readAll(path), expected);

    EXPECT_EQ(runCli({"--file-sketch", "--lowered"}).exitCode, 2);
    const auto missing = runCli({"--file-sketch", "--output", dir.filePath("nowhere/bb.ino")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.indexOf("error 76"), -1) << missing.err.constData();
    EXPECT_FALSE(QFile::exists(dir.filePath("nowhere/bb.ino")));
}

TEST_F(CliTest, StepFramesAndWiringTestReachTheSketch)
{
    // The speed is the marquee's frame loop and nothing else.
    const auto slow = runCli({"--step-frames", "30"});
    ASSERT_EQ(slow.exitCode, 0) << slow.err.constData();
    const auto differing = differingLines(slow.out, defaults->out);
    ASSERT_EQ(differing.size(), 1u);
    EXPECT_TRUE(lines(slow.out)[differing[0]].startsWith("       for (j=0;j<=29;j++){"));
    EXPECT_EQ(runCli({"--step-frames", "6"}).out, defaults->out);

    const auto kf = runCli({"--wiring-test"});
    ASSERT_EQ(kf.exitCode, 0) << kf.err.constData();
    EXPECT_EQ(kf.out.toStdString(), generation::WiringTestSketch::text(generation::PortWiring::PortsKF));
    // The B/A variant is stored in Big5, as the file sketch is.
    const QString path = dir.filePath("wiring.ino");
    ASSERT_EQ(runCli({"--wiring-test", "--file-sketch", "--output", path}).exitCode, 0);
    EXPECT_EQ(QStringDecoder("Big5").decode(readAll(path)),
              QString::fromStdString(generation::WiringTestSketch::text(generation::PortWiring::PortsBA)));
}

// Each mark takes the next --picture, the title's first, in every sketch the
// tool makes; marks and pictures that do not pair up, a file that is no
// picture, and a picture for the wiring test are usage errors that say which.
TEST_F(CliTest, PicturesGoToTheirMarksAndMismatchesAreUsageErrors)
{
    QImage tall(40, 32, QImage::Format_RGB32);
    tall.fill(Qt::black);
    const QString png = dir.filePath("tall.png");
    ASSERT_TRUE(tall.save(png));
    const QString notes = dir.filePath("notes.txt");
    QFile file(notes);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture\n");
    file.close();

    const QString mark(QChar(0xFFFC));
    const std::vector<generation::Picture> pictures(2, platform::PictureFile::read(png));
    platform::QtGlyphCanvas canvas(QStringLiteral("新細明體"));
    generation::ColumnSampler sampler(canvas);
    const std::u16string title = u"\uFFFC新";
    const std::u16string message = u"年\uFFFC快樂";
    const auto panel = generation::PanelSketchBuilder(sampler).buildPanelSketch(
        title, message, generation::RowWindow::lowered(), true, 6, pictures);
    const QStringList given = {"--title", mark + "新", "--message", "年" + mark + "快樂", "--picture", png,
                               "--picture", png};
    const auto printed = runCli(given + QStringList{"--lowered", "--whole-message"});
    ASSERT_EQ(printed.exitCode, 0) << printed.err.constData();
    EXPECT_EQ(printed.out.toStdString(), panel.text);
    generation::StringLineFile fileSketch;
    generation::SketchFileWriter::write(sampler, fileSketch, title, message, false, 6, pictures);
    const QString path = dir.filePath("bb.ino");
    ASSERT_EQ(runCli(given + QStringList{"--file-sketch", "--output", path}).exitCode, 0);
    EXPECT_EQ(QStringDecoder("Big5").decode(readAll(path)), QString::fromStdString(fileSketch.take()));

    const std::vector<std::pair<QStringList, QString>> cases = {
        {{"--title", mark, "--message", "a" + mark, "--picture", png}, "picture mark 1 of the message (U+FFFC) has no picture"},
        {{"--message", mark, "--picture", png, "--picture", notes}, "--picture " + notes + " has no mark"},
        {{"--message", mark, "--picture", notes}, notes},
        {{"--wiring-test", "--picture", png}, "--picture cannot be used with --wiring-test"},
    };
    for (const auto& [arguments, named] : cases) {
        const auto result = runCli(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_NE(QString::fromUtf8(result.err).indexOf(named), -1) << result.err.constData();
        EXPECT_TRUE(result.err.endsWith("\nTry 'ledmarquee-cli --help' for more information.\n"))
            << result.err.constData();
    }
}

// Past what the board's flash holds, the whole message is refused before a
// byte is written: exit 1, one line that says why, no file.
TEST_F(CliTest, WholeMessageTooWideForTheFlashIsRefused)
{
    const QString path = dir.filePath("long.ino");
    const QString message(8000, QChar(0x4E00));
    const auto result = runCli({"--whole-message", "--message", message, "--output", path});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.indexOf("error 7: Out of memory"), -1) << result.err.constData();
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(runCli({"--whole-message", "--message", message, "--file-sketch"}).out.isEmpty());
}

// The words come from the canvas alone. A scaled screen, a font DPI, the
// user's own fontconfig (hint style, autohint, smoothing, subpixel order,
// embedded bitmaps) and FreeType's tuning leave every face and style drawing
// what it draws under the defaults. The message reaches into the fonts that
// stand in for what the faces lack (Arabic, emoji, a combining mark).
TEST(DesktopSettingsTest, EveryFaceAndStyleDrawsAsUnderTheDefaults)
{
    QTemporaryDir dir;
    const auto userFonts = [&](const QString& name, const QByteArray& edits) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<?xml version=\"1.0\"?><fontconfig>"
                   "<include ignore_missing=\"yes\">/etc/fonts/fonts.conf</include>"
                   "<match target=\"font\">" + edits + "</match></fontconfig>");
        return QStringLiteral("FONTCONFIG_FILE=") + path;
    };
    const std::vector<QStringList> settings = {
        {"QT_SCALE_FACTOR=2"},
        {"QT_FONT_DPI=144"},
        {userFonts("none.conf", "<edit name=\"hintstyle\" mode=\"assign\"><const>hintnone</const></edit>")},
        {userFonts("full.conf", "<edit name=\"hintstyle\" mode=\"assign\"><const>hintfull</const></edit>"
                                "<edit name=\"autohint\" mode=\"assign\"><bool>true</bool></edit>"
                                "<edit name=\"antialias\" mode=\"assign\"><bool>true</bool></edit>"
                                "<edit name=\"rgba\" mode=\"assign\"><const>rgb</const></edit>"
                                "<edit name=\"embeddedbitmap\" mode=\"assign\"><bool>false</bool></edit>")},
        {"FREETYPE_PROPERTIES=truetype:interpreter-version=35", "QT_NO_SYNTHESIZED_BOLD=1",
         "QT_NO_SYNTHESIZED_ITALIC=1"},
    };
    for (const char* face : {"新細明體", "標楷體"}) {
        for (const QStringList& style : {QStringList{}, QStringList{"--bold"}, QStringList{"--italic"},
                                         QStringList{"--bold", "--italic"}}) {
            const QStringList arguments = QStringList{"--title", "新春快樂", "--message",
                                                      "歡迎光臨本校電子社成果展今年我們製作了會發光的看板請多多指教 "
                                                      "مرحبا 😀 é\u0342",
                                                      "--face", QString::fromUtf8(face)}
                                          + style;
            const auto expected = runCli(arguments);
            ASSERT_EQ(expected.exitCode, 0) << expected.err.constData();
            for (const QStringList& setting : settings) {
                EXPECT_EQ(runCli(arguments, {}, QStringLiteral(LEDMARQUEE_CLI), {}, setting).out, expected.out)
                    << arguments.join(' ').toStdString() << " under " << setting.join(' ').toStdString();
            }
        }
    }
}

// The board road seen from outside, with a stand-in arduino-builder first on
// PATH: --hex's path is checked before anything is compiled, and a compile
// error comes back with its sketch line and its Chinese text whole, though
// the builder writes one character in two pieces, in the C locale.
TEST_F(CliTest, HexPathIsCheckedFirstAndBuilderErrorsReadWhole)
{
    const QString bin = dir.filePath("bin");
    ASSERT_TRUE(QDir().mkpath(bin));
    const QString builder = bin + "/arduino-builder";
    QFile script(builder);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    // 訊 is E8 A8 8A: its first two bytes go out alone.
    script.write("#!/bin/sh\n"
                 "echo \"$LC_ALL\" > \"$0.locale\"\n"
                 "for argument; do sketch=$argument; done\n"
                 "printf '%s:4:5: error: expected before \\350\\250' \"$sketch\"\n"
                 "sleep 0.2\n"
                 "printf '\\212\\346\\201\\257\\n'\n"
                 "exit 1\n");
    script.close();
    ASSERT_TRUE(script.setPermissions(script.permissions() | QFile::ExeOwner));
    const auto withBuilder = [&](const QStringList& arguments) {
        return runCli(QStringList{"-c", "PATH=\"$1:$PATH\" XDG_CACHE_HOME=\"$2\"; shift 2; exec \"$0\" \"$@\"",
                                  QStringLiteral(LEDMARQUEE_CLI), bin, dir.filePath("cache")}
                          + arguments,
                      {}, QStringLiteral("/bin/sh"));
    };

    const auto missingFolder = withBuilder({"--hex", dir.filePath("missing/sign.hex")});
    EXPECT_EQ(missingFolder.exitCode, 1);
    EXPECT_NE(missingFolder.err.indexOf("error 76: "), -1) << missingFolder.err.constData();
    EXPECT_FALSE(QFile::exists(builder + ".locale")) << "the builder ran";

    const auto failed = withBuilder({"--hex", dir.filePath("sign.hex")});
    if (failed.err.contains("tools are missing")) {
        GTEST_SKIP() << failed.err.constData();
    }
    EXPECT_EQ(failed.exitCode, 3);
    EXPECT_NE(failed.err.indexOf("sketch line 4: expected before 訊息"), -1) << failed.err.constData();
    EXPECT_EQ(readAll(builder + ".locale"), "C.UTF-8\n");
    EXPECT_FALSE(QFile::exists(dir.filePath("sign.hex")));

    // A builder ended by a signal is no fault of the sketch.
    ASSERT_TRUE(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
    script.write("#!/bin/sh\nkill -KILL $$\n");
    script.close();
    const auto killed = withBuilder({"--hex", dir.filePath("sign.hex")});
    EXPECT_EQ(killed.exitCode, 3);
    EXPECT_EQ(killed.err, "ledmarquee-cli: arduino-builder was ended by signal 9 (Killed)\n");
}

} // namespace
