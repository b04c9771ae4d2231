#pragma once

#include "generation/column_sampler.h"
#include "generation/line_file.h"
#include "generation/panel_sketch.h"
#include "generation/picture.h"
#include "generation/row_window.h"
#include "generation/sketch_layout.h"

#include <cstddef>
#include <span>
#include <string>

namespace generation {

// The one sequence of steps every sketch is written by: sample the title,
// decide the message's column count, write the head, the title, the count,
// the message words (an SRAM array or flash arrays) and the program, line by
// line into a line file as they are made. What differs between the panel,
// the file and the whole-message sketch is the layout's; the encoding and the
// destination are the line file's. It does not commit the file.
class SketchSteps {
public:
    SketchSteps(ColumnSampler& sampler, SketchLayout layout);

    // Writes the whole sketch. The result carries the title words, the
    // message's column count and the words of the columns that can be
    // non-zero; every column from messageWords.size() on is 0. No text.
    // Throws SketchError (out of memory) before writing a line when a whole
    // message is too wide for the board. pictures holds one picture for
    // each mark, the title's first (PictureMarks); std::invalid_argument
    // when it does not.
    PanelSketch write(LineFile& out, const std::u16string& title, const std::u16string& message,
                      RowWindow titleWindow, std::span<const Picture> pictures = {});

private:
    void writeSramMessage(LineFile& out, const std::u16string& message, std::span<const Picture> pictures,
                          PanelSketch& result);
    void writeFlashMessage(LineFile& out, const std::u16string& message, std::span<const Picture> pictures,
                           PanelSketch& result);

    ColumnSampler& m_sampler;
    SketchLayout m_layout;
};

} // namespace generation
