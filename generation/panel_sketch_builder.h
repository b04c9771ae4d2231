#pragma once

#include "generation/column_sampler.h"
#include "generation/panel_sketch.h"
#include "generation/row_window.h"

#include <cstddef>
#include <string>

namespace generation {

// Builds the sketch shown in the output panel: the title array, the message
// array and the fixed display loop for ports K and F, as one UTF-8 text with
// CR LF line ends. It drives the sampler but does not choose the font, and
// it never puts a byte of the title or message into the sketch.
class PanelSketchBuilder {
public:
    explicit PanelSketchBuilder(ColumnSampler& sampler);

    // The sketch text, with the words it carries kept beside it.
    PanelSketch buildPanelSketch(const std::u16string& title, const std::u16string& message,
                                 RowWindow titleWindow);

    // The panel's message column count for a message of this many UTF-16
    // code units: (L + 20) x 13.
    static std::size_t messageColumnCount(std::size_t messageLength);

private:
    ColumnSampler& m_sampler;
};

} // namespace generation
