#include "generation/board_memory.h"

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

} // namespace
