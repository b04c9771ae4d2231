#include "generation/board_memory.h"
#include "generation/glyph_canvas.h"

#include <gtest/gtest.h>

namespace {

using generation::BoardMemory;

TEST(BoardMemoryTest, StackRoomDecidesBetweenFitsAndLowMemory)
{
    EXPECT_EQ(BoardMemory::fit(8192 - 15), BoardMemory::Fit::Fits);
    EXPECT_EQ(BoardMemory::fit(8192 - 14), BoardMemory::Fit::LowMemory);
    EXPECT_EQ(BoardMemory::fit(8192), BoardMemory::Fit::LowMemory);
    EXPECT_EQ(BoardMemory::fit(8193), BoardMemory::Fit::TooBig);
}

TEST(BoardMemoryTest, TheFileSketchHoldsFewerCharactersThanThePanelSketch)
{
    using Sketch = BoardMemory::Sketch;
    // The longest holds however wide the message draws on the canvas.
    constexpr std::size_t kWidest = generation::GlyphCanvas::kWidth;
    for (Sketch sketch : {Sketch::Panel, Sketch::File}) {
        const std::size_t longest = BoardMemory::longestMessageThatFits(sketch);
        EXPECT_EQ(BoardMemory::fit(BoardMemory::sketchBytes(BoardMemory::columnCount(sketch, longest, kWidest))),
                  BoardMemory::Fit::Fits);
        EXPECT_NE(BoardMemory::fit(BoardMemory::sketchBytes(BoardMemory::columnCount(sketch, longest + 1, kWidest))),
                  BoardMemory::Fit::Fits);
    }
    EXPECT_EQ(BoardMemory::longestMessageThatFits(Sketch::Panel), 279u);
    EXPECT_EQ(BoardMemory::longestMessageThatFits(Sketch::File), 276u);
}

} // namespace
