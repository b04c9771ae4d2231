#pragma once

#include <cstddef>

namespace generation {

// How much of the Mega 2560's SRAM a standard sketch (the panel sketch or
// the sketch file) takes, as the IDE's build lays it out, and whether what
// is left holds the deepest stack the sketch reaches. Both sketches have
// the same globals and differ only in their message column count. It
// leaves wording to the window.
class BoardMemory {
public:
    static constexpr std::size_t kSramBytes = 8192;
    // The core's own globals (millis counters and the like), measured with
    // avr-size on a sketch with empty setup() and loop().
    static constexpr std::size_t kCoreGlobalBytes = 9;
    // The deepest the stack goes under the globals while the sketch runs:
    // the loop's call plus the core's timer interrupt striking inside it,
    // measured on the simulated board (the board tests hold it to that).
    static constexpr std::size_t kStackBytes = 15;

    enum class Sketch { Panel, File };
    enum class Fit {
        Fits,
        LowMemory, // links, but the stack runs into the globals: the sign shows garbage or resets
        TooBig     // does not link
    };

    // The sketch's slen for a message of this many UTF-16 code units whose
    // drawing on the canvas ends at column drawnWidth - 1 (the file's count
    // runs at least that far, and so does the panel's when the message
    // holds pictures).
    static std::size_t columnCount(Sketch sketch, std::size_t messageLength, std::size_t drawnWidth,
                                   bool holdsPictures = false);
    // Global bytes of a standard sketch with this message column count.
    static std::size_t sketchBytes(std::size_t columnCount);
    static Fit fit(std::size_t bytes);
    // The longest message (UTF-16 code units) whose sketch fits with room
    // for the stack, however wide it draws.
    static std::size_t longestMessageThatFits(Sketch sketch);

    // The whole-message sketch, its message this many columns wide in
    // flash: SRAM exact to the byte; flash (code and data) within
    // kFlashSlackBytes, as the compiler folds a little differently around
    // the message's size. The Mega keeps the top 8 KB for its bootloader.
    static constexpr std::size_t kFlashBytes = 253952;
    static constexpr std::size_t kFlashSlackBytes = 16;
    // The widest whole message whose sketch fits that flash, less the
    // program around the data (2,124 bytes with the title, the far-address
    // table and the reader, as avr-size measures a 7,700-character build
    // with the IDE's flags). The sketch writer refuses anything wider.
    static constexpr std::size_t kMaxFlashColumns = 125500;
    static std::size_t wholeMessageSramBytes(std::size_t width);
    static std::size_t wholeMessageFlashBytes(std::size_t width);

    // The wiring test for ports K and F as avr-size reports the builder's
    // build (flash within kFlashSlackBytes of other builds): it carries no
    // message, so it takes the same whatever the texts.
    static constexpr std::size_t kWiringTestSramBytes = 143;
    static constexpr std::size_t kWiringTestFlashBytes = 1278;
};

} // namespace generation
