#include "generation/board_memory.h"

#include <algorithm>

#include "generation/glyph_canvas.h"
#include "generation/flash_layout.h"
#include "generation/sketch_layout.h"

namespace generation {

namespace {

constexpr std::size_t kWordBytes = 2;     // unsigned int on the AVR
constexpr std::size_t kCounterBytes = 3 * kWordBytes; // i, j and k; the build folds slen, never written, away
constexpr std::size_t kArrayColumns = 64; // a[] and b[], and c[]'s blank entries

// The whole-message sketch as avr-size reports it for the IDE's build: the
// title, a[], i, j, k and the core's globals in SRAM; beside them one
// pointer to each flash array when there are several (two bytes when read
// near, four when far). In flash: the code, a little more for each far
// array, and two bytes a column.
constexpr std::size_t kWholeSramBytes = 273;
constexpr std::size_t kNearCodeBytes = 1644;
constexpr std::size_t kNearManyArraysCodeBytes = 1680;
constexpr std::size_t kFarCodeBytes = 1704;
constexpr std::size_t kFarArrayCodeBytes = 24;

} // namespace

std::size_t BoardMemory::wholeMessageSramBytes(std::size_t width)
{
    const FlashLayout layout = FlashLayout::forWidth(width);
    if (layout.arrays == 1) {
        return kWholeSramBytes; // the build reads the one array directly
    }
    return kWholeSramBytes + layout.arrays * (layout.far ? 4 : 2);
}

std::size_t BoardMemory::wholeMessageFlashBytes(std::size_t width)
{
    const FlashLayout layout = FlashLayout::forWidth(width);
    const std::size_t words = std::max<std::size_t>(width, 1) * kWordBytes;
    if (layout.far) {
        return words + kFarCodeBytes + layout.arrays * kFarArrayCodeBytes + 2 * kArrayColumns; // and the title's initial values
    }
    return words + (layout.arrays == 1 ? kNearCodeBytes : kNearManyArraysCodeBytes + layout.arrays * 2)
           + 2 * kArrayColumns;
}

std::size_t BoardMemory::columnCount(Sketch sketch, std::size_t messageLength, std::size_t drawnWidth,
                                     bool holdsPictures)
{
    const SketchLayout layout = sketch == Sketch::Panel ? SketchLayout::panel() : SketchLayout::file();
    return layout.messageColumns(messageLength, drawnWidth, holdsPictures);
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
    // A message can draw no further than the canvas's last column.
    std::size_t length = 0;
    while (fit(sketchBytes(columnCount(sketch, length + 1, GlyphCanvas::kWidth))) == Fit::Fits) {
        ++length;
    }
    return length;
}

} // namespace generation
