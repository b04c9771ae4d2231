#include "platform/qt_glyph_canvas.h"

#include "generation/column_sampler.h"
#include "generation/default_texts.h"
#include "generation/panel_sketch_builder.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using generation::ColumnSampler;
using generation::PanelSketchBuilder;
using generation::RowWindow;
using platform::QtGlyphCanvas;

const QString kMing = QStringLiteral("新細明體");
const QString kKai = QStringLiteral("標楷體");

std::vector<double> titleWords(QtGlyphCanvas& canvas, const std::u16string& title, RowWindow window)
{
    ColumnSampler sampler(canvas);
    sampler.drawTitle(title);
    return sampler.sample(64, window);
}

TEST(QtGlyphCanvasTest, StartsBlankInALightBackgroundAndReadsMinusOneOutside)
{
    QtGlyphCanvas canvas(kMing);
    EXPECT_EQ(canvas.image().size(), QSize(1205, 29));
    EXPECT_EQ(canvas.image().dotsPerMeterX(), 3780);
    EXPECT_NE(canvas.readPixel(0, 0), 0);
    EXPECT_EQ(canvas.readPixel(0, 0), 0xD4D0C8);
    EXPECT_EQ(canvas.readPixel(1204, 28), 0xD4D0C8);
    EXPECT_EQ(canvas.readPixel(1205, 0), -1);
    EXPECT_EQ(canvas.readPixel(0, 29), -1);
    EXPECT_EQ(canvas.readPixel(-1, 3), -1);
}

TEST(QtGlyphCanvasTest, FacesResolveToTheStandInFontsAndKeepTheirNames)
{
    QtGlyphCanvas canvas(kMing);
    canvas.setFontSize(12);
    EXPECT_EQ(QFontInfo(canvas.font()).family(), QStringLiteral("AR PL UMing TW"));
    EXPECT_EQ(QFontInfo(canvas.font()).pixelSize(), 16);
    EXPECT_EQ(canvas.ascent(), 15);
    canvas.setFaceName("標楷體");
    EXPECT_EQ(QFontInfo(canvas.font()).family(), QStringLiteral("AR PL UKai TW"));
    EXPECT_EQ(canvas.ascent(), 16);
    canvas.setFaceName("No Such Face 123");
    EXPECT_EQ(canvas.faceName(), QStringLiteral("No Such Face 123"));
}

TEST(QtGlyphCanvasTest, MingGlyphGivesTheWordsOfItsBitmap)
{
    // 一 in the Ming face's 16 px bitmap: a stroke along row 8 from column 1
    // to 14, with the serif on row 7 at column 13.
    QtGlyphCanvas canvas(kMing);
    std::vector<double> standard(64, 0.0);
    std::vector<double> lowered(64, 0.0);
    for (int x = 1; x <= 14; ++x) {
        standard[x] = 128;
        lowered[x] = 32;
    }
    standard[13] = 192;
    lowered[13] = 48;
    EXPECT_EQ(titleWords(canvas, u"一", RowWindow::standard()), standard);
    EXPECT_EQ(titleWords(canvas, u"一", RowWindow::lowered()), lowered);
}

TEST(QtGlyphCanvasTest, GlyphPixelsAreBlackOrBackgroundOnly)
{
    QtGlyphCanvas canvas(kMing);
    ColumnSampler(canvas).drawTitle(std::u16string(generation::kDefaultTitle));
    int black = 0;
    for (int y = 0; y < 29; ++y) {
        for (int x = 0; x < 1205; ++x) {
            const auto pixel = canvas.readPixel(x, y);
            ASSERT_TRUE(pixel == 0 || pixel == 0xD4D0C8) << x << "," << y;
            black += pixel == 0;
        }
    }
    EXPECT_GT(black, 100);
}

TEST(QtGlyphCanvasTest, MingInkStaysInRowsOneToFifteen)
{
    QtGlyphCanvas canvas(kMing);
    ColumnSampler(canvas).drawTitle(u"恭喜發財");
    int top = 29;
    int bottom = -1;
    for (int y = 0; y < 29; ++y) {
        for (int x = 0; x < 64; ++x) {
            if (canvas.readPixel(x, y) == 0) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    EXPECT_GE(top, 1);
    EXPECT_EQ(bottom, 15);
}

TEST(QtGlyphCanvasTest, BoldItalicAndKaiEachChangeTheWords)
{
    QtGlyphCanvas canvas(kMing);
    const auto plain = titleWords(canvas, u"恭喜發財", RowWindow::standard());
    canvas.setBold(true);
    const auto bold = titleWords(canvas, u"恭喜發財", RowWindow::standard());
    canvas.setBold(false);
    canvas.setItalic(true);
    const auto italic = titleWords(canvas, u"恭喜發財", RowWindow::standard());
    canvas.setItalic(false);
    canvas.setFaceName("標楷體");
    const auto kai = titleWords(canvas, u"恭喜發財", RowWindow::standard());
    canvas.setFaceName("新細明體");
    const auto again = titleWords(canvas, u"恭喜發財", RowWindow::standard());

    EXPECT_NE(bold, plain);
    EXPECT_NE(italic, plain);
    EXPECT_NE(italic, bold);
    EXPECT_NE(kai, plain);
    EXPECT_EQ(again, plain);
}

// A desktop theme may give the application's font a stretch, letter spacing
// or capitals of its own; the canvas's font takes none of them.
TEST(QtGlyphCanvasTest, TheApplicationsFontLeavesTheWordsAlone)
{
    QtGlyphCanvas canvas(kKai);
    const auto before = titleWords(canvas, u"新春Ab", RowWindow::standard());
    const QFont original = QGuiApplication::font();
    QFont themed = original;
    themed.setStretch(QFont::Condensed);
    themed.setLetterSpacing(QFont::PercentageSpacing, 130);
    themed.setCapitalization(QFont::AllUppercase);
    QGuiApplication::setFont(themed);
    const auto themedWords = titleWords(canvas, u"新春Ab", RowWindow::standard());
    QGuiApplication::setFont(original);
    EXPECT_EQ(themedWords, before);
}

TEST(QtGlyphCanvasTest, TitleKeepsOnlyItsFirst64Columns)
{
    QtGlyphCanvas canvas(kMing);
    const auto four = titleWords(canvas, u"一一一一", RowWindow::standard());
    const auto six = titleWords(canvas, u"一一一一一一", RowWindow::standard());
    EXPECT_EQ(six, four);
    EXPECT_EQ(canvas.readPixel(70, 8), 0); // the fifth character was drawn, just not read
}

TEST(QtGlyphCanvasTest, TextPastTheRightEdgeIsClippedNotWrapped)
{
    QtGlyphCanvas canvas(kMing);
    ColumnSampler sampler(canvas);
    sampler.clear();
    sampler.drawMessage(std::u16string(200, u'一'));
    for (int y = 17; y < 29; ++y) {
        for (int x = 0; x < 1205; ++x) {
            ASSERT_NE(canvas.readPixel(x, y), 0) << "ink below the line at " << x << "," << y;
        }
    }
    EXPECT_EQ(canvas.readPixel(1201, 8), 0); // the 76th character, 1200 pixels in
}

// A long text is laid out only as far as it can reach the image, or, drawn
// again further left piece by piece, once; what is drawn must be exactly
// what laying out all of it draws, for narrow, joined, astral, italic and
// right-to-left text alike, and a style changed between pieces must count.
TEST(QtGlyphCanvasTest, LongTextDrawsAsIfLaidOutWhole)
{
    // Combining and zero-width marks: many code units to few pixels.
    const std::u16string narrow = u"i\u0301\u0302\u0303\u0304\u0305e\u0301\u0302\u0303\u0304\u0305. \U0001F600\u200B\u200B";
    const std::u16string wide = u"恭喜發財";
    const std::u16string rtl = u"\u05E9\u05DC\u05D5\u05DD ";
    for (const auto& [piece, italic] : {std::pair{narrow, false}, {narrow + wide, true}, {rtl, false}}) {
        std::u16string text;
        while (text.size() < 12000) {
            text += piece;
        }
        QtGlyphCanvas canvas(kMing);
        canvas.setItalic(italic);
        for (const auto& [left, bold] : {std::pair{-40, false}, {-2500, false}, {-2500, true}}) {
            canvas.clear();
            canvas.setBold(bold);
            canvas.setPenPosition(left, 0);
            canvas.drawText(text);

            QImage whole(canvas.image().size(), canvas.image().format());
            whole.fill(QtGlyphCanvas::kBackground);
            QPainter painter(&whole);
            painter.setPen(QColor(0, 0, 0));
            painter.setFont(canvas.font());
            painter.drawText(QPoint(left, canvas.ascent()), QString::fromStdU16String(text));
            painter.end();
            int lastInk = -1;
            for (int x = 0; x < whole.width(); ++x) {
                for (int y = 0; y < whole.height(); ++y) {
                    if ((whole.pixel(x, y) & 0xFFFFFF) == 0) {
                        lastInk = x;
                    }
                }
            }
            EXPECT_GT(lastInk, 1190) << "ink reaches the right edge";
            EXPECT_EQ(canvas.image().convertToFormat(whole.format()), whole)
                << text.size() << " from " << left << (italic ? " italic" : "") << (bold ? " bold" : "");
        }
    }
}

// Each picture lands where its mark stands, top at row 0, and the sampler
// reads it by the rule for text: row r adds 2^(r - offset), row 0 half in
// the standard rows, rows 0-2 cut from the lowered title. The text after it
// starts where the picture ends, and nothing is left after the last ink.
TEST(RealCanvasSketchTest, PicturesAreSampledPixelForPixelWhereTheirMarksStand)
{
    std::vector<std::uint16_t> columns(24);
    for (std::size_t x = 0; x < columns.size(); ++x) {
        columns[x] = static_cast<std::uint16_t>(0x9249u << (x % 3)); // every third row, shifting
    }
    columns.back() = 0xFFFF;
    const std::vector<generation::Picture> pictures(2, generation::Picture(columns));
    const auto expected = [&](RowWindow window) {
        std::vector<double> words;
        for (const std::uint16_t column : columns) {
            double word = 0;
            for (int row = window.firstRow; row <= window.lastRow && row < 16; ++row) {
                word += ((column >> row) & 1u) != 0 ? std::ldexp(1.0, row - window.offset) : 0.0;
            }
            words.push_back(word);
        }
        return words;
    };

    QtGlyphCanvas canvas(kMing);
    ColumnSampler sampler(canvas);
    PanelSketchBuilder builder(sampler);
    const auto sketch = builder.buildPanelSketch(u"\uFFFC", u"\uFFFC", RowWindow::lowered(), false,
                                                 generation::MarqueeShape::kMarqueeFrames, pictures);
    EXPECT_EQ(std::vector(sketch.titleWords.begin(), sketch.titleWords.begin() + 24), expected(RowWindow::lowered()));
    EXPECT_TRUE(std::all_of(sketch.titleWords.begin() + 24, sketch.titleWords.end(), [](double w) { return w == 0; }));
    EXPECT_EQ(std::vector(sketch.messageWords.begin(), sketch.messageWords.begin() + 24),
              expected(RowWindow::standard()));
    EXPECT_TRUE(std::all_of(sketch.messageWords.begin() + 24, sketch.messageWords.end(), [](double w) { return w == 0; }));
    EXPECT_EQ(sketch.drawnWidth, 24u);
    EXPECT_EQ(sketch.columnCount, 273u);

    // Between two characters, the picture starts at the first one's advance.
    const auto one = builder.buildPanelSketch(u"", u"一", RowWindow::standard()).messageWords;
    const auto between = builder
                             .buildPanelSketch(u"", u"一\uFFFC一", RowWindow::standard(), false,
                                               generation::MarqueeShape::kMarqueeFrames, {pictures.data(), 1})
                             .messageWords;
    const std::vector glyph(one.begin(), one.begin() + 16);
    ASSERT_GT(between.size(), 56u);
    EXPECT_EQ(std::vector(between.begin(), between.begin() + 16), glyph);
    EXPECT_EQ(std::vector(between.begin() + 16, between.begin() + 40), expected(RowWindow::standard()));
    EXPECT_EQ(std::vector(between.begin() + 40, between.begin() + 56), glyph);
    EXPECT_TRUE(std::all_of(between.begin() + 56, between.end(), [](double w) { return w == 0; }));
}

TEST(RealCanvasSketchTest, SameInputsGiveTheSameText)
{
    QtGlyphCanvas canvas(kMing);
    ColumnSampler sampler(canvas);
    PanelSketchBuilder builder(sampler);
    const std::u16string title(generation::kDefaultTitle);
    const std::u16string message(generation::kDefaultMessage);
    const auto first = builder.buildPanelSketch(title, message, RowWindow::standard()).text;
    const auto second = builder.buildPanelSketch(title, message, RowWindow::standard()).text;
    EXPECT_EQ(first, second);
}

TEST(RealCanvasSketchTest, AnyTextKeepsTheSketchStructureAndNeverReachesIt)
{
    QtGlyphCanvas canvas(kMing);
    ColumnSampler sampler(canvas);
    PanelSketchBuilder builder(sampler);
    const std::string empty = builder.buildPanelSketch(u"", u"", RowWindow::standard()).text;
    const std::vector<std::u16string> inputs = {
        std::u16string(u"a\0b", 3),
        u"\r\n\t\x1b[2J\x7f",
        u"\xd800 lone high, lone low \xdc00",
        u"\x202e\x05e9\x05dc\x05d5\x05dd \x0627\x0644\x0633\x0644\x0627\x0645",
        u"e\x0301\x0301\x0301\x0301\x0301",
        u"\U0001F600\U0001F44D\U0001F3FD\x200d",
        u"\"};void loop(){}//",
    };
    for (const auto& text : inputs) {
        const std::string sketch = builder.buildPanelSketch(text, text, RowWindow::lowered()).text;
        const auto lines = std::count(sketch.begin(), sketch.end(), '\n');
        // Same line count as an empty sketch with the same message length.
        const std::string same = builder.buildPanelSketch(u"", std::u16string(text.size(), u' '), RowWindow::lowered()).text;
        EXPECT_EQ(lines, std::count(same.begin(), same.end(), '\n'));
        // Between the head lines and the program, only digits, points,
        // spaces, commas, braces and line ends.
        const auto from = sketch.find("unsigned int b[]={\r\n") + 20;
        const auto to = sketch.find("void setup()");
        for (auto i = from; i < to; ++i) {
            const char c = sketch[i];
            const bool allowed = (c >= '0' && c <= '9') || std::string_view(" ,.};\r\n").find(c) != std::string_view::npos;
            if (!allowed) {
                // The count, head and array-open lines are fixed text.
                const auto lineStart = sketch.rfind('\n', i) + 1;
                const auto line = sketch.substr(lineStart, sketch.find('\r', i) - lineStart);
                ASSERT_TRUE(line.starts_with("unsigned int slen=") || line == "//文字資料"
                            || line.starts_with("unsigned int c[]={"))
                    << "unexpected line: " << line;
            }
        }
        EXPECT_EQ(sketch.substr(0, from), empty.substr(0, from));
        EXPECT_EQ(sketch.substr(to), empty.substr(empty.find("void setup()")));
    }
}

} // namespace
