#include "generation/board_memory.h"

#include "generation/panel_sketch_builder.h"

#include <gtest/gtest.h>

namespace {

using generation::BoardMemory;
using generation::PanelSketchBuilder;

TEST(BoardMemoryTest, CountsArraysCountersAndTheCore)
{
    // a[64], b[64], c[64 + N] of two bytes, i, j, k and slen, the core's 9.
    EXPECT_EQ(BoardMemory::panelSketchBytes(0), 128u + 128 + 128 + 8 + 9);
    EXPECT_EQ(BoardMemory::panelSketchBytes(1352), 3105u);
}

TEST(BoardMemoryTest, WarnsPastThreeQuartersAndRefusesPastTheSram)
{
    EXPECT_EQ(BoardMemory::fit(6144), BoardMemory::Fit::Fits);
    EXPECT_EQ(BoardMemory::fit(6145), BoardMemory::Fit::LowMemory);
    EXPECT_EQ(BoardMemory::fit(8192), BoardMemory::Fit::LowMemory);
    EXPECT_EQ(BoardMemory::fit(8193), BoardMemory::Fit::TooBig);
}

TEST(BoardMemoryTest, LongestMessagesAreTheLastThatFit)
{
    const auto bytesFor = [](std::size_t length) {
        return BoardMemory::panelSketchBytes(PanelSketchBuilder::messageColumnCount(length));
    };
    const std::size_t longest = BoardMemory::longestMessageThatFits();
    EXPECT_LE(bytesFor(longest), 8192u);
    EXPECT_GT(bytesFor(longest + 1), 8192u);
    const std::size_t roomy = BoardMemory::longestMessageWithStackRoom();
    EXPECT_EQ(BoardMemory::fit(bytesFor(roomy)), BoardMemory::Fit::Fits);
    EXPECT_EQ(BoardMemory::fit(bytesFor(roomy + 1)), BoardMemory::Fit::LowMemory);
    EXPECT_EQ(longest, 279u);
}

} // namespace
