#include "generation/board_memory.h"

#include "generation/panel_sketch_builder.h"

namespace generation {

namespace {

constexpr std::size_t kWordBytes = 2;     // unsigned int on the AVR
constexpr std::size_t kCounterBytes = 3 * kWordBytes + kWordBytes; // i, j, k and slen
constexpr std::size_t kArrayColumns = 64; // a[] and b[], and c[]'s blank entries

std::size_t longestWithin(std::size_t limit)
{
    std::size_t length = 0;
    while (BoardMemory::panelSketchBytes(PanelSketchBuilder::messageColumnCount(length + 1)) <= limit) {
        ++length;
    }
    return length;
}

} // namespace

std::size_t BoardMemory::panelSketchBytes(std::size_t columnCount)
{
    return kCounterBytes + 2 * kArrayColumns * kWordBytes + (kArrayColumns + columnCount) * kWordBytes
           + kCoreGlobalBytes;
}

BoardMemory::Fit BoardMemory::fit(std::size_t bytes)
{
    if (bytes > kSramBytes) {
        return Fit::TooBig;
    }
    return bytes * 4 > kSramBytes * 3 ? Fit::LowMemory : Fit::Fits;
}

std::size_t BoardMemory::longestMessageThatFits()
{
    return longestWithin(kSramBytes);
}

std::size_t BoardMemory::longestMessageWithStackRoom()
{
    return longestWithin(kSramBytes * 3 / 4);
}

} // namespace generation
