#include "generation/column_sampler.h"

#include "fake_canvas.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using generation::ColumnSampler;
using generation::RowWindow;

class ColumnSamplerTest : public testing::Test {
protected:
    void blacken(int x, std::initializer_list<int> rows)
    {
        for (int row : rows) {
            canvas.black.insert({x, row});
        }
    }

    tests::FakeCanvas canvas;
    ColumnSampler sampler{canvas};
};

TEST_F(ColumnSamplerTest, StandardWindowWeighsRowZeroAsOneHalf)
{
    blacken(0, {0, 1, 15});
    blacken(1, {0});
    blacken(2, {15});
    const auto words = sampler.sample(3, RowWindow::standard());
    EXPECT_EQ(words, (std::vector<double>{16385.5, 0.5, 16384}));
}

TEST_F(ColumnSamplerTest, LoweredWindowPutsRowsThreeToEighteenOnBitsZeroToFifteen)
{
    blacken(0, {3, 4, 18});
    blacken(1, {0, 1, 2, 19, 20}); // outside the lowered rows
    const auto words = sampler.sample(2, RowWindow::lowered());
    EXPECT_EQ(words, (std::vector<double>{32771, 0}));
}

TEST_F(ColumnSamplerTest, FullColumnGivesTheLargestWordOfEachWindow)
{
    for (int row = 0; row < tests::FakeCanvas::kHeight; ++row) {
        blacken(5, {row});
    }
    EXPECT_EQ(sampler.sample(6, RowWindow::standard())[5], 32767.5);
    EXPECT_EQ(sampler.sample(6, RowWindow::lowered())[5], 65535);
}

TEST_F(ColumnSamplerTest, ARowThreePixelDiffersBetweenTheWindows)
{
    blacken(7, {3});
    EXPECT_EQ(sampler.sample(8, RowWindow::standard())[7], 4);
    EXPECT_EQ(sampler.sample(8, RowWindow::lowered())[7], 1);
}

TEST_F(ColumnSamplerTest, OnlyExactlyBlackPixelsCount)
{
    canvas.grey.insert({0, 4}); // 0x010101: nearly black is not black
    blacken(1, {4});
    const auto words = sampler.sample(2, RowWindow::standard());
    EXPECT_EQ(words[0], 0);
    EXPECT_EQ(words[1], 8);
}

TEST_F(ColumnSamplerTest, ColumnsPastTheCanvasGiveZeroAndOrderIsKept)
{
    canvas.allBlack = true;
    const auto words = sampler.sample(1300, RowWindow::standard());
    ASSERT_EQ(words.size(), 1300u);
    EXPECT_EQ(words[0], 32767.5);
    EXPECT_EQ(words[1204], 32767.5);
    for (std::size_t x = 1205; x < words.size(); ++x) {
        ASSERT_EQ(words[x], 0) << "column " << x;
    }
}

TEST_F(ColumnSamplerTest, WordsComeBackInColumnOrder)
{
    for (int x = 0; x < 16; ++x) {
        blacken(x, {x}); // column x black only at row x
    }
    const auto words = sampler.sample(16, RowWindow::standard());
    for (int x = 0; x < 16; ++x) {
        EXPECT_EQ(words[x], std::ldexp(1.0, x - 1)) << "column " << x;
    }
}

TEST_F(ColumnSamplerTest, TitleDrawSetsSizeClearsAndDrawsAtOrigin)
{
    sampler.drawTitle(u"ab");
    sampler.clear();
    sampler.drawMessage(u"xyz");
    EXPECT_EQ(canvas.calls, (std::vector<std::string>{"size 12", "pen 0,0", "clear", "draw 2", "clear", "pen 0,0",
                                                      "draw 3"}));
}

TEST_F(ColumnSamplerTest, TitleDrawWipesWhatWasThere)
{
    blacken(0, {5});
    sampler.drawTitle(u"");
    EXPECT_EQ(sampler.sample(1, RowWindow::standard())[0], 0);
}

} // namespace
