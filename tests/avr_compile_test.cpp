#include "avr_toolchain.h"
#include "fake_canvas.h"

#include "generation/column_sampler.h"
#include "generation/default_texts.h"
#include "generation/panel_sketch_builder.h"
#include "generation/sketch_file_writer.h"
#include "platform/big5_line_file_opener.h"
#include "platform/qt_glyph_canvas.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr long kSramBytes = 8192;

class AvrCompileTest : public testing::Test {
protected:
    void SetUp() override
    {
        toolchain = tests::AvrToolchain::instance();
        if (toolchain == nullptr) {
            GTEST_SKIP() << "AVR toolchain absent: " << tests::AvrToolchain::why().toStdString();
        }
    }

    void expectBuildsAndFits(const QByteArray& sketch, const QString& name)
    {
        QString error;
        const auto sizes = toolchain->build(sketch, name, &error);
        ASSERT_TRUE(sizes.has_value()) << error.toStdString();
        EXPECT_GT(sizes->text, 0);
        EXPECT_LE(sizes->data + sizes->bss, kSramBytes) << "data " << sizes->data << " bss " << sizes->bss;
        // The message array alone is (64 + N) words of two bytes.
        EXPECT_GT(sizes->data, 2 * 64);
    }

    tests::AvrToolchain* toolchain = nullptr;
    platform::QtGlyphCanvas canvas{QStringLiteral("新細明體")};
    generation::ColumnSampler sampler{canvas};
};

TEST_F(AvrCompileTest, PanelSketchForTheDefaultsBuildsForTheMega2560)
{
    generation::PanelSketchBuilder builder(sampler);
    const std::string sketch = builder.buildPanelSketch(std::u16string(generation::kDefaultTitle),
                                                        std::u16string(generation::kDefaultMessage),
                                                        generation::RowWindow::standard()).text;
    expectBuildsAndFits(QByteArray::fromStdString(sketch), "panel");
}

TEST_F(AvrCompileTest, LargestWordsOfBothWindowsBuild)
{
    // A canvas black everywhere gives 65535 in the lowered title and
    // 32767.5 in every message word: the top of unsigned int, and fractions.
    tests::FakeCanvas black;
    black.allBlack = true;
    generation::ColumnSampler blackSampler(black);
    generation::PanelSketchBuilder builder(blackSampler);
    const std::string sketch = builder.buildPanelSketch(u"", u"", generation::RowWindow::lowered()).text;
    ASSERT_NE(sketch.find(" 65535,"), std::string::npos);
    ASSERT_NE(sketch.find(" 32767.5,"), std::string::npos);
    expectBuildsAndFits(QByteArray::fromStdString(sketch), "largest");
}

TEST_F(AvrCompileTest, FileSketchForTheDefaultsBuildsForTheMega2560)
{
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir("bb"));
    platform::Big5LineFileOpener opener;
    generation::SketchFileWriter writer(sampler, opener,
                                        generation::SketchFileWriter::sketchFilePath(folder.path().toStdString()));
    writer.writeSketchFile(std::u16string(generation::kDefaultTitle), std::u16string(generation::kDefaultMessage));
    QFile file(folder.filePath("bb/bb.ino"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    expectBuildsAndFits(file.readAll(), "bb");
}

TEST_F(AvrCompileTest, APictureAsTheWholeMessageBuilds)
{
    std::vector<std::uint16_t> columns(24, 0xA5A5);
    columns.back() = 0xFFFF;
    const std::vector<generation::Picture> pictures{generation::Picture(columns)};
    generation::PanelSketchBuilder builder(sampler);
    const std::string sketch = builder.buildPanelSketch(u"", u"\uFFFC", generation::RowWindow::standard(), false,
                                                        generation::MarqueeShape::kMarqueeFrames, pictures).text;
    ASSERT_NE(sketch.find(" 21202.5, 32767.5, 0,"), std::string::npos) << "the picture's last columns, then no ink";
    expectBuildsAndFits(QByteArray::fromStdString(sketch), "picture");
}

TEST_F(AvrCompileTest, ABrokenSketchIsCaught)
{
    // Without its count line the loop's slen is undeclared: the check must fail.
    generation::PanelSketchBuilder builder(sampler);
    QByteArray sketch = QByteArray::fromStdString(builder.buildPanelSketch(u"", u"", generation::RowWindow::standard()).text);
    sketch.replace("unsigned int slen=", "// unsigned int slen=");
    QString error;
    EXPECT_FALSE(toolchain->build(sketch, "broken", &error).has_value());
    EXPECT_TRUE(error.contains("slen")) << error.toStdString();
}

} // namespace
