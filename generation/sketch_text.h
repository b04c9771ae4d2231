#pragma once

#include "generation/marquee_shape.h"
#include "generation/sketch_layout.h"

#include <cstddef>
#include <string>
#include <vector>

namespace generation {

// The fixed lines and array texts that every sketch is made of, written from
// the marquee's shape and the sketch's layout, so that the panel, the file
// and the whole-message sketch share one source and differ only where their
// layouts do; the wiring test drives the sign with the same frame lines. It
// knows no canvas and no file; SketchSteps decides what goes where.
class SketchText {
public:
    // The title array always holds the sign's 64 columns.
    static constexpr std::size_t kTitleColumns = MarqueeShape::kColumns;
    // Words per flash array: 16 KB each, well inside the compiler's limit of
    // 32,767 bytes for one object, and a shift away from the column number.
    static constexpr std::size_t kFlashArrayWords = 8192;
    // Flash arrays that end below this many words are read with near
    // addresses; past it the data may cross the first 64 KB of flash.
    static constexpr std::size_t kNearFlashWords = 32000;

    // The lines before the title array, without line ends.
    static std::vector<std::string> headLines(const SketchLayout& layout);
    // The 64 title words, "," between them and "};" after the last.
    static std::string titleArray(const std::vector<double>& words);
    // "unsigned int slen=" (unsigned long for flash) with the count.
    static std::string countLine(std::size_t columnCount, const SketchLayout& layout);
    static std::string messageHead();
    // Opens the SRAM message array; SketchSteps writes its words: 64 "0,"
    // entries that keep the sign dark while the message enters, then the
    // words, a line end after those of columns 0, 64, 128, ... and "};".
    static std::string messageArrayOpen();
    // The opening line of flash array number index.
    static std::string flashArrayOpen(std::size_t index);
    // The lines after the flash arrays that read column n of the dark-framed
    // message: c(n) is 0 for the 64 columns before the message and from slen on.
    static std::vector<std::string> flashReader(std::size_t arrays, bool far);
    // The last value of a loop counter that counts from 0 and runs count
    // times, as the sketches' for lines write it: "j<=5" for 6 frames.
    static std::string lastIndex(int count);
    // One frame, the 64 columns in turn: port C selects the column, the
    // word in a[] goes to the wiring's data ports (or nothing, when dark)
    // for 100 microseconds, and the data ports are cleared before the next
    // column. Every sketch drives the sign with these lines; indent is the
    // leading spaces of the frame's for line.
    static std::vector<std::string> frameLines(PortWiring wiring, int indent, bool dark = false);
    // setup() and loop(), without line ends; the marquee steps show for the
    // layout's step frames.
    static std::vector<std::string> programLines(const SketchLayout& layout, std::size_t flashArrays = 0,
                                                 bool far = false);
};

} // namespace generation
