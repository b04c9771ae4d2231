#include "generation/sketch_file_writer.h"

#include "fake_canvas.h"
#include "generation/default_texts.h"
#include "generation/panel_sketch_builder.h"
#include "generation/sketch_error.h"
#include "platform/big5_line_file_opener.h"
#include "platform/qt_glyph_canvas.h"
#include "sketch_lines.h"
#include "file_bytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using generation::ColumnSampler;
using generation::SketchError;
using generation::SketchFileWriter;

using tests::readAll;

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class SketchFileWriterTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(toolFolder.isValid());
        ASSERT_TRUE(QDir(toolFolder.path()).mkdir("bb"));
    }

    QString filePath() const { return toolFolder.filePath("bb/bb.ino"); }

    SketchFileWriter writerFor(ColumnSampler& columnSampler, generation::LineFileOpener& fileOpener)
    {
        return SketchFileWriter(columnSampler, fileOpener, SketchFileWriter::sketchFilePath(toolFolder.path().toStdString()));
    }

    QTemporaryDir toolFolder;
    tests::FakeCanvas canvas;
    ColumnSampler sampler{canvas};
    platform::Big5LineFileOpener opener;
};

TEST_F(SketchFileWriterTest, PathIsBbInsideTheToolFolder)
{
    EXPECT_EQ(SketchFileWriter::sketchFilePath("/opt/tool"), "/opt/tool/bb/bb.ino");
}

TEST_F(SketchFileWriterTest, EmptyInputsMatchTheGoldenFileByteForByte)
{
    writerFor(sampler, opener).writeSketchFile(u"", u"");
    const QByteArray bytes = readAll(filePath());
    QFile golden(LEDMARQUEE_GOLDEN_DIR "/empty_file.ino");
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
    EXPECT_EQ(bytes, golden.readAll());

    const auto lines = tests::crLfLines(bytes);
    ASSERT_EQ(lines.size(), 10 + 70);
    EXPECT_EQ(tests::fromBig5(lines[5]), QStringLiteral("unsigned int slen= 16;   //c[]資料長度"));
    EXPECT_EQ(lines[7], "unsigned int c[]={");
    EXPECT_EQ(lines[8], QByteArray("0,").repeated(64) + " 0,");
    EXPECT_EQ(lines[9], QByteArray(" 0,").repeated(14) + " 0};");
    EXPECT_EQ(lines[10], "void setup() {");
    EXPECT_EQ(lines[11], "    DDRA=0xFF;");
}

TEST_F(SketchFileWriterTest, CommentsAreBig5WithoutBomAndEveryLineEndsInCrLf)
{
    writerFor(sampler, opener).writeSketchFile(u"標題", u"任何文字");
    const QByteArray bytes = readAll(filePath());
    EXPECT_FALSE(bytes.startsWith("\xef\xbb\xbf"));
    EXPECT_NE(bytes.indexOf(QByteArray::fromHex("2f2fa4e5a672b8eaaec60d0a")), -1); // "//文字資料" CR LF
    EXPECT_NE(bytes.indexOf(QByteArray::fromHex("2f2fbcd0c344b8eaaec60d0a")), -1); // "//標題資料" CR LF
    EXPECT_TRUE(bytes.endsWith("}\r\n"));
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
    EXPECT_EQ(bytes.count('\r'), bytes.count("\r\n"));
    EXPECT_EQ(bytes.indexOf("\r\n\r\n"), -1);
    // No byte of the inputs' UTF-8 or Big5 forms reaches the file.
    EXPECT_EQ(bytes.indexOf(QStringLiteral("任何").toUtf8()), -1);
    EXPECT_EQ(bytes.indexOf(QByteArray::fromHex("a5f4a6f3")), -1); // 任何 in Big5
}

TEST_F(SketchFileWriterTest, WritingTwiceReplacesTheFile)
{
    writerFor(sampler, opener).writeSketchFile(u"abc", std::u16string(500, u'x'));
    writerFor(sampler, opener).writeSketchFile(u"", u"");
    QFile golden(LEDMARQUEE_GOLDEN_DIR "/empty_file.ino");
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
    EXPECT_EQ(readAll(filePath()), golden.readAll());
    EXPECT_EQ(QDir(toolFolder.filePath("bb")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
              QStringList{"bb.ino"});
}

TEST_F(SketchFileWriterTest, FileDiffersFromThePanelOnlyWhereTheWiringAndCountsSayAndIgnoresTheLoweredTitle)
{
    platform::QtGlyphCanvas realCanvas(QStringLiteral("新細明體"));
    ColumnSampler realSampler(realCanvas);
    generation::PanelSketchBuilder builder(realSampler);
    const std::u16string title(generation::kDefaultTitle);
    const std::u16string message(generation::kDefaultMessage);
    const auto standardPanel = QString::fromStdString(builder.buildPanelSketch(title, message, generation::RowWindow::standard()).text);
    const auto loweredPanel = QString::fromStdString(builder.buildPanelSketch(title, message, generation::RowWindow::lowered()).text);
    writerFor(realSampler, opener).writeSketchFile(title, message);
    const QString file = tests::fromBig5(readAll(filePath()));

    const QStringList panelLines = standardPanel.split(QStringLiteral("\r\n"));
    const QStringList loweredLines = loweredPanel.split(QStringLiteral("\r\n"));
    const QStringList fileLines = file.split(QStringLiteral("\r\n"));

    // Head lines and the title array: the standard rows, even after a lowered run.
    EXPECT_EQ(fileLines.mid(0, 5), panelLines.mid(0, 5));
    EXPECT_NE(fileLines[4], loweredLines[4]);
    // Count: 84 x 14 + 16 rather than (84 + 20) x 13.
    EXPECT_EQ(panelLines[5], QStringLiteral("unsigned int slen= 1352;   //c[]資料長度"));
    EXPECT_EQ(fileLines[5], QStringLiteral("unsigned int slen= 1192;   //c[]資料長度"));
    EXPECT_EQ(fileLines[6], panelLines[6]);
    // The array opens on its own line; its words are the panel's, cut at 1192.
    EXPECT_EQ(fileLines[7], QStringLiteral("unsigned int c[]={"));
    EXPECT_TRUE(fileLines[8].startsWith(QStringLiteral("0,0,")));
    const auto panelWords = tests::messageWords(standardPanel);
    const auto fileWords = tests::messageWords(file);
    ASSERT_EQ(fileWords.size(), 1192u);
    EXPECT_EQ(fileWords, std::vector<double>(panelWords.begin(), panelWords.begin() + 1192));
    // The program: ports B and A replace K and F, port C stays.
    QString rewired = panelLines.mid(panelLines.indexOf(QStringLiteral("void setup() {"))).join(QStringLiteral("\r\n"));
    rewired.replace(QStringLiteral("DDRF"), QStringLiteral("DDRA")).replace(QStringLiteral("DDRK"), QStringLiteral("DDRB"));
    rewired.replace(QStringLiteral("PORTF"), QStringLiteral("PORTA")).replace(QStringLiteral("PORTK"), QStringLiteral("PORTB"));
    EXPECT_EQ(fileLines.mid(fileLines.indexOf(QStringLiteral("void setup() {"))).join(QStringLiteral("\r\n")), rewired);
    EXPECT_EQ(file.count(QStringLiteral("PORTB=a[i] / 256;")), 3);
    EXPECT_EQ(file.count(QStringLiteral("PORTA=0 ;")), 4);
    EXPECT_EQ(file.count(QStringLiteral("PORTC=i;")), 4);
    EXPECT_TRUE(file.contains(QStringLiteral("    DDRC=0xFF;")));
}

struct OpenFailure {
    const char* name;
    int number;
    const char* pathInDescription;
    void (*arrange)(const QString& toolFolder);
};

void PrintTo(const OpenFailure& failure, std::ostream* out)
{
    *out << failure.name;
}

class SketchFileOpenFailureTest : public testing::TestWithParam<OpenFailure> {};

TEST_P(SketchFileOpenFailureTest, ReportsANumberedErrorNamingThePath)
{
    QTemporaryDir toolFolder;
    GetParam().arrange(toolFolder.path());
    tests::FakeCanvas canvas;
    ColumnSampler sampler(canvas);
    platform::Big5LineFileOpener opener;
    SketchFileWriter writer(sampler, opener, SketchFileWriter::sketchFilePath(toolFolder.path().toStdString()));
    try {
        writer.writeSketchFile(u"t", u"m");
        FAIL() << "no error";
    } catch (const SketchError& error) {
        EXPECT_EQ(error.number(), GetParam().number);
        const QString expectedPath = toolFolder.filePath(QString::fromUtf8(GetParam().pathInDescription));
        EXPECT_NE(error.description().find(expectedPath.toStdString()), std::string::npos) << error.description();
    }
    EXPECT_TRUE(canvas.calls.empty()) << "nothing is drawn when the file cannot be opened";
}

INSTANTIATE_TEST_SUITE_P(
    Paths, SketchFileOpenFailureTest,
    testing::Values(OpenFailure{"BbMissing", SketchError::kPathNotFound, "bb", [](const QString&) {}},
                    OpenFailure{"BbIsAFile", SketchError::kPathAccess, "bb",
                                [](const QString& folder) { writeAll(folder + "/bb", "not a folder"); }},
                    OpenFailure{"BbInoIsAFolder", SketchError::kPathAccess, "bb/bb.ino",
                                [](const QString& folder) { QDir(folder).mkpath("bb/bb.ino"); }}),
    [](const testing::TestParamInfo<OpenFailure>& testInfo) { return std::string(testInfo.param.name); });

// Passes writes to a real line file until the k-th, which fails.
class FailingLineFile : public generation::LineFile {
public:
    FailingLineFile(std::unique_ptr<generation::LineFile> real, int failAt)
        : m_real(std::move(real))
        , m_failAt(failAt)
    {
    }
    void writeLine(const std::string& text) override
    {
        if (++m_writes == m_failAt) {
            throw SketchError(SketchError::kDeviceIo, "write " + std::to_string(m_writes) + " failed");
        }
        m_real->writeLine(text);
    }
    void commit() override
    {
        if (m_failAt == 0) {
            throw SketchError(SketchError::kDeviceIo, "commit failed");
        }
        m_real->commit();
    }

private:
    std::unique_ptr<generation::LineFile> m_real;
    int m_failAt;
    int m_writes = 0;
};

class FailingOpener : public generation::LineFileOpener {
public:
    explicit FailingOpener(int failAt)
        : m_failAt(failAt)
    {
    }
    std::unique_ptr<generation::LineFile> open(const std::string& path) override
    {
        return std::make_unique<FailingLineFile>(m_real.open(path), m_failAt);
    }

private:
    platform::Big5LineFileOpener m_real;
    int m_failAt;
};

TEST_F(SketchFileWriterTest, FailurePartWayLeavesTheEarlierFileExactlyAsItWas)
{
    writerFor(sampler, opener).writeSketchFile(u"", u"earlier");
    const QByteArray earlier = readAll(filePath());
    ASSERT_FALSE(earlier.isEmpty());

    for (int failAt : {1, 5, 9, 10, 40, 79, 0 /* the commit */}) {
        FailingOpener failing(failAt);
        EXPECT_THROW(writerFor(sampler, failing).writeSketchFile(u"new", u"new message"), SketchError) << failAt;
        EXPECT_EQ(readAll(filePath()), earlier) << "failing at write " << failAt;
        EXPECT_EQ(QDir(toolFolder.filePath("bb")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
                  QStringList{"bb.ino"})
            << "failing at write " << failAt;
    }
}

} // namespace
