#include "avr_toolchain.h"
#include "fake_canvas.h"

#include "generation/board_memory.h"
#include "generation/column_sampler.h"
#include "generation/default_texts.h"
#include "generation/panel_sketch_builder.h"
#include "generation/sketch_file_writer.h"
#include "platform/big5_line_file_opener.h"
#include "platform/qt_glyph_canvas.h"
#include "window/memory_line.h"

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

TEST_F(AvrCompileTest, MemoryLineAgreesWithAvrSize)
{
    generation::PanelSketchBuilder builder(sampler);
    const std::u16string unit(u"測");
    // Fits, fits with a warning, and too big for the board.
    for (std::size_t length : {84u, 230u, 400u}) {
        SCOPED_TRACE(length);
        std::u16string message;
        for (std::size_t i = 0; i < length; ++i) {
            message += unit;
        }
        const auto sketch = builder.buildPanelSketch(u"", message, generation::RowWindow::standard());
        QString error;
        const auto sizes = toolchain->build(QByteArray::fromStdString(sketch.text), "memory", &error, true);
        ASSERT_TRUE(sizes.has_value()) << error.toStdString();
        const auto used = static_cast<std::size_t>(sizes->data + sizes->bss);
        EXPECT_EQ(generation::BoardMemory::panelSketchBytes(sketch.messageWords.size()), used);

        const QString line = window::MemoryLine::describe(sketch.messageWords.size());
        EXPECT_TRUE(line.contains(QStringLiteral("%1 of 8192 bytes").arg(used))) << line.toStdString();
        EXPECT_EQ(line.startsWith(QStringLiteral("Too big")), used > 8192) << line.toStdString();
        EXPECT_EQ(line.startsWith(QStringLiteral("Low memory")), used > 6144 && used <= 8192) << line.toStdString();
        // Without the overflow allowance the board's linker refuses exactly the sketches called too big.
        EXPECT_EQ(toolchain->build(QByteArray::fromStdString(sketch.text), "strict", &error).has_value(), used <= 8192);
    }
}

} // namespace
