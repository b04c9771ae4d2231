#pragma once

#include "generation/sketch_layout.h"

#include <cstddef>
#include <string>
#include <vector>

namespace generation {

// The fixed lines and array texts that every sketch is made of, written from
// the marquee's shape and the sketch's layout, so that the panel, the file
// and the whole-message sketch share one source and differ only where their
// layouts do. It knows no canvas and no file; SketchSteps decides what goes
// where.
class SketchText {
public:
    // The title array always holds the sign's 64 columns.
    static constexpr std::size_t kTitleColumns = 64;
    // Words per flash array: 16 KB each, well inside the compiler's limit of
    // 32,767 bytes for one object, and a shift away from the column number.
    static constexpr std::size_t kFlashArrayWords = 8192;
    // Flash arrays that end below this many words are read with near
    // addresses; past it the data may cross the first 64 KB of flash.
    static constexpr std::size_t kNearFlashWords = 32000;

    // The lines before the title array, without line ends.
    static std::vector<std::string> headLines(const SketchLayout& layout);
    static std::vector<std::string> headLines() { return headLines(SketchLayout::panel()); }
    // The 64 title words, "," between them and "};" after the last.
    static std::string titleArray(const std::vector<double>& words);
    // "unsigned int slen=" (unsigned long for flash) with the count.
    static std::string countLine(std::size_t columnCount, const SketchLayout& layout);
    static std::string countLine(std::size_t columnCount) { return countLine(columnCount, SketchLayout::panel()); }
    static std::string messageHead();
    static std::string messageArrayOpen();
    // 64 "0," entries that keep the sign dark while the message enters, then
    // the words, with a line end after the words of columns 0, 64, 128, ...
    // and "};" after the last word (no line end after it).
    static void appendMessageBody(std::string& out, const std::vector<double>& words);
    // The opening line of flash array number index.
    static std::string flashArrayOpen(std::size_t index);
    // The lines after the flash arrays that read column n of the dark-framed
    // message: c(n) is 0 for the 64 columns before the message and from slen on.
    static std::vector<std::string> flashReader(std::size_t arrays, bool far);
    // setup() and loop(), without line ends.
    static std::vector<std::string> programLines(const SketchLayout& layout, std::size_t flashArrays = 0,
                                                 bool far = false);
    static std::vector<std::string> programLines(PortWiring wiring)
    {
        return programLines({wiring, MessageStorage::Sram, ColumnRule::PanelLength});
    }
};

} // namespace generation
