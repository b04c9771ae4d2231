#pragma once

#include "generation/glyph_canvas.h"
#include "generation/row_window.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace generation {

// Turns drawn text into column words: it draws a title or a message on the
// canvas and reads columns back through a row window. It does not choose
// faces or styles, and it does not build any sketch text.
class ColumnSampler {
public:
    // Every title and message is drawn at this size.
    static constexpr double kTextPoints = 12.0;

    explicit ColumnSampler(GlyphCanvas& canvas);

    // Sets the size to 12 points, clears the canvas and draws the title at (0, 0).
    void drawTitle(const std::u16string& title);
    void clear();
    // Draws the message at (0, 0) on a canvas the caller has cleared, at the
    // size the title draw left.
    void drawMessage(const std::u16string& message);
    // One word per column 0 .. columns - 1, in column order. Only pixels that
    // are exactly black count; columns past the canvas give 0.
    std::vector<double> sample(std::size_t columns, RowWindow window) const;

    // How many columns the whole message takes at the current size.
    std::size_t messageWidth(const std::u16string& message) const;
    // Samples columns 0 .. columns - 1 of the message as if drawn on a canvas
    // that wide, through the standard rows, one canvas-wide piece at a time
    // so that memory stays bounded; each word goes to the callback in column
    // order. Leaves the canvas showing the message's first columns.
    void sampleWide(const std::u16string& message, std::size_t columns,
                    const std::function<void(double)>& each);

private:
    GlyphCanvas& m_canvas;
};

} // namespace generation
