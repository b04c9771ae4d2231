#include "generation/panel_sketch_builder.h"

#include "generation/board_memory.h"
#include "generation/sketch_error.h"
#include "fake_canvas.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

using generation::ColumnSampler;
using generation::PanelSketchBuilder;
using generation::RowWindow;

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<std::string> splitCrLf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (auto end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(start, text.size()) << "text after the last CR LF";
    return lines;
}

std::size_t count(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) {
        ++n;
    }
    return n;
}

class PanelSketchBuilderTest : public testing::Test {
protected:
    std::vector<std::string> build(const std::u16string& title, const std::u16string& message,
                                   RowWindow window = RowWindow::standard())
    {
        return splitCrLf(builder.buildPanelSketch(title, message, window).text);
    }

    // Line index of the message array's first line.
    static std::size_t messageStart(const std::vector<std::string>& lines)
    {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].rfind("unsigned int c[]={", 0) == 0) {
                return i;
            }
        }
        ADD_FAILURE() << "no message array";
        return 0;
    }

    tests::FakeCanvas canvas;
    ColumnSampler sampler{canvas};
    PanelSketchBuilder builder{sampler};
};

TEST_F(PanelSketchBuilderTest, EmptyInputsMatchTheGoldenSketchByteForByte)
{
    const std::string sketch = builder.buildPanelSketch(u"", u"", RowWindow::standard()).text;
    EXPECT_EQ(sketch, readFile(LEDMARQUEE_GOLDEN_DIR "/empty_panel.ino"));

    const auto lines = splitCrLf(sketch);
    ASSERT_EQ(lines.size(), 4u + 1 + 2 + 6 + 70);
    EXPECT_EQ(lines[5], "unsigned int slen= 260;   //c[]資料長度");
    std::string blanks;
    for (int i = 0; i < 64; ++i) {
        blanks += "0,";
    }
    EXPECT_EQ(lines[7], "unsigned int c[]={" + blanks + " 0,");
    EXPECT_EQ(lines[12], " 0, 0, 0};");
    EXPECT_EQ(lines[13], "void setup() {");
    EXPECT_EQ(lines.back(), "}");
}

TEST_F(PanelSketchBuilderTest, LastWordAloneOnItsLineWhenNMinusTwoIsAMultipleOf64)
{
    const auto lines = build(u"", std::u16string(54, u'x')); // N = 962
    const std::size_t start = messageStart(lines);
    EXPECT_EQ(lines[start - 2], "unsigned int slen= 962;   //c[]資料長度");
    // Words 1..960 fill 15 lines of 64; word 961 stands alone.
    for (std::size_t i = 1; i <= 15; ++i) {
        EXPECT_EQ(count(lines[start + i], ","), 64u) << "line " << i;
    }
    EXPECT_EQ(lines[start + 16], " 0};");
    EXPECT_EQ(lines[start + 17], "void setup() {");
}

TEST_F(PanelSketchBuilderTest, LastLineHolds64WordsWhenNMinusOneIsAMultipleOf64)
{
    const auto lines = build(u"", std::u16string(49, u'x')); // N = 897
    const std::size_t start = messageStart(lines);
    EXPECT_EQ(lines[start - 2], "unsigned int slen= 897;   //c[]資料長度");
    const std::string& last = lines[start + 14];
    EXPECT_EQ(count(last, " 0"), 64u);
    EXPECT_EQ(count(last, ","), 63u);
    EXPECT_TRUE(last.ends_with(" 0};"));
    EXPECT_EQ(lines[start + 15], "void setup() {");
}

// Past the canvas's 1,205 columns the words are written as ready-made lines
// of zeros; the line shape and the last word's "};" must not change.
TEST_F(PanelSketchBuilderTest, ZerosPastTheCanvasKeepTheLineShape)
{
    canvas.allBlack = true;
    for (const std::size_t length : {113u, 118u}) { // N = 1729 and 1794
        const std::size_t columns = PanelSketchBuilder::messageColumnCount(length);
        const auto lines = build(u"", std::u16string(length, u'x'));
        const std::size_t start = messageStart(lines);
        std::size_t words = count(lines[start], ",") - 64;
        for (std::size_t i = start + 1; lines[i] != "void setup() {"; ++i) {
            const bool last = lines[i + 1] == "void setup() {";
            EXPECT_EQ(count(lines[i], " "), last ? (columns - 2) % 64 + 1 : 64u) << "line " << i;
            EXPECT_EQ(lines[i].ends_with("};"), last);
            EXPECT_EQ(lines[i].rfind(" 0", 0) == 0, (i - start - 1) * 64 + 1 >= 1205) << "line " << i;
            words += count(lines[i], " ");
        }
        EXPECT_EQ(words, columns) << length;
    }
}

TEST_F(PanelSketchBuilderTest, CharacterOutsideTheBasicPlaneCountsTwo)
{
    const auto lines = build(u"", u"\U0001F600a"); // three UTF-16 code units
    EXPECT_EQ(lines[5], "unsigned int slen= 299;   //c[]資料長度");
}

// The title's words in b[] through the window chosen, the message's in c[]
// after its 64 dark entries, always through the standard window.
TEST_F(PanelSketchBuilderTest, WordsLandInTheirArraysThroughTheirWindows)
{
    canvas.ink[u"t"] = {{0, 3}, {63, 0}, {64, 3}};
    canvas.ink[u"m"] = {{2, 5}};
    const auto standard = build(u"t", u"m");
    const auto lowered = build(u"t", u"m", RowWindow::lowered());
    EXPECT_TRUE(standard[4].starts_with(" 4, 0,"));
    EXPECT_TRUE(standard[4].ends_with(", .5};"));
    EXPECT_TRUE(lowered[4].starts_with(" 1, 0,"));
    EXPECT_TRUE(lowered[4].ends_with(", 0};"));
    EXPECT_EQ(count(standard[4], ","), 63u); // column 64 is never read
    // c[64] ends the first line; the message's column 2 is c[66].
    EXPECT_TRUE(standard[messageStart(standard) + 1].starts_with(" 0, 16,")) << standard[messageStart(standard) + 1];
    EXPECT_EQ(std::vector(standard.begin() + 5, standard.end()), std::vector(lowered.begin() + 5, lowered.end()));
}

// One mark counts 13 columns, its picture may draw far more: the count then
// runs to the last drawn column, in the sketch and in the window's figures.
TEST_F(PanelSketchBuilderTest, APictureWiderThanTheCountStretchesItToTheLastDrawnColumn)
{
    std::vector<std::uint16_t> columns(400, 0);
    columns.front() = 0x0002;
    columns.back() = 0x8000;
    const std::vector<generation::Picture> pictures{generation::Picture(columns)};
    const auto sketch = builder.buildPanelSketch(u"", u"\uFFFC", RowWindow::standard(), false,
                                                 generation::MarqueeShape::kMarqueeFrames, pictures);
    EXPECT_EQ(sketch.drawnWidth, 400u);
    EXPECT_EQ(sketch.columnCount, 400u);
    EXPECT_NE(sketch.text.find("unsigned int slen= 400;"), std::string::npos);
    EXPECT_EQ(sketch.messageWords.front(), 1);
    EXPECT_EQ(sketch.messageWords.back(), 16384);
    using Sketch = generation::BoardMemory::Sketch;
    EXPECT_EQ(generation::BoardMemory::columnCount(Sketch::Panel, 1, 400, true), 400u);
    EXPECT_EQ(generation::BoardMemory::columnCount(Sketch::Panel, 1, 400), 273u) << "text alone keeps its count";

    const auto whole = builder.buildPanelSketch(u"", u"\uFFFC", RowWindow::standard(), true,
                                                generation::MarqueeShape::kMarqueeFrames, pictures);
    EXPECT_EQ(whole.columnCount, 400u + 64u);
    EXPECT_EQ(whole.messageWords, sketch.messageWords);
}

// A mark pasted in without a picture is the input's fault, and the error
// says which mark, before anything is written.
TEST_F(PanelSketchBuilderTest, AMarkWithoutAPictureIsAnInvalidPictureThatNamesIt)
{
    const std::vector<generation::Picture> one{generation::Picture({1, 2, 3})};
    try {
        builder.buildPanelSketch(u"\uFFFC", u"a\uFFFC", RowWindow::standard(), false,
                                 generation::MarqueeShape::kMarqueeFrames, one);
        ADD_FAILURE() << "a mark without a picture was drawn";
    } catch (const generation::SketchError& error) {
        EXPECT_EQ(error.number(), generation::SketchError::kInvalidPicture);
        EXPECT_EQ(std::string(error.what()), "Invalid picture: picture mark 1 of the message (U+FFFC) has no picture");
    }
    EXPECT_TRUE(canvas.calls.empty());
}

TEST(PanelSketchColumnCountTest, GrowsThirteenColumnsPerCodeUnit)
{
    EXPECT_EQ(PanelSketchBuilder::messageColumnCount(0), 260u);
    EXPECT_EQ(PanelSketchBuilder::messageColumnCount(84), 1352u);
}

} // namespace
