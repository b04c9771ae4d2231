#include "generation/board_memory.h"

#include "generation/panel_sketch_builder.h"
#include "generation/sketch_file_writer.h"

namespace generation {

namespace {

constexpr std::size_t kWordBytes = 2;     // unsigned int on the AVR
constexpr std::size_t kCounterBytes = 3 * kWordBytes; // i, j and k; the build folds slen, never written, away
constexpr std::size_t kArrayColumns = 64; // a[] and b[], and c[]'s blank entries

} // namespace

std::size_t BoardMemory::columnCount(Sketch sketch, std::size_t messageLength)
{
    return sketch == Sketch::Panel ? PanelSketchBuilder::messageColumnCount(messageLength)
                                   : SketchFileWriter::messageColumnCount(messageLength);
}

std::size_t BoardMemory::sketchBytes(std::size_t columnCount)
{
    return kCounterBytes + 2 * kArrayColumns * kWordBytes + (kArrayColumns + columnCount) * kWordBytes
           + kCoreGlobalBytes;
}

BoardMemory::Fit BoardMemory::fit(std::size_t bytes)
{
    if (bytes > kSramBytes) {
        return Fit::TooBig;
    }
    return bytes + kStackBytes > kSramBytes ? Fit::LowMemory : Fit::Fits;
}

std::size_t BoardMemory::longestMessageThatFits(Sketch sketch)
{
    std::size_t length = 0;
    while (fit(sketchBytes(columnCount(sketch, length + 1))) == Fit::Fits) {
        ++length;
    }
    return length;
}

} // namespace generation
