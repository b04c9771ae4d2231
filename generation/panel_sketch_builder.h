#pragma once

#include "generation/column_sampler.h"
#include "generation/line_file.h"
#include "generation/marquee_shape.h"
#include "generation/panel_sketch.h"
#include "generation/picture.h"
#include "generation/row_window.h"

#include <cstddef>
#include <span>
#include <string>

namespace generation {

// Builds the sketch shown in the output panel: the title array, the message
// (an SRAM array, or with wholeMessage the whole message in flash) and the
// display loop for ports K and F, as UTF-8 with CR LF line ends. It drives
// the sampler but does not choose the font, and it never puts a byte of the
// title or message into the sketch.
class PanelSketchBuilder {
public:
    explicit PanelSketchBuilder(ColumnSampler& sampler);

    // The sketch text, with the words it carries kept beside it; with
    // wholeMessage the whole message goes to flash. Each marquee step shows
    // for stepFrames frames. pictures holds one picture for each picture
    // mark, the title's first.
    PanelSketch buildPanelSketch(const std::u16string& title, const std::u16string& message,
                                 RowWindow titleWindow, bool wholeMessage = false,
                                 int stepFrames = MarqueeShape::kMarqueeFrames,
                                 std::span<const Picture> pictures = {});
    // The same run, written line by line into out as it is made; the result
    // has the words but no text. out is not committed.
    PanelSketch write(LineFile& out, const std::u16string& title, const std::u16string& message,
                      RowWindow titleWindow, bool wholeMessage = false,
                      int stepFrames = MarqueeShape::kMarqueeFrames, std::span<const Picture> pictures = {});

    // The panel's message column count for a message of this many UTF-16
    // code units: (L + 20) x 13.
    static std::size_t messageColumnCount(std::size_t messageLength);

private:
    ColumnSampler& m_sampler;
};

} // namespace generation
