#pragma once

#include "generation/glyph_canvas.h"
#include "generation/picture.h"
#include "generation/row_window.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace generation {

// Turns drawn text into column words: it draws a title or a message on the
// canvas and reads columns back through a row window. A title or message
// may hold picture marks: each mark's picture is drawn where the mark
// stands, top at row 0, and the text after it goes on past the picture.
// pictures gives one picture for each mark, in order; a text without marks
// is drawn in one piece, exactly as it always was. It does not choose faces
// or styles, read pictures from files, or build any sketch text.
class ColumnSampler {
public:
    // Every title and message is drawn at this size.
    static constexpr double kTextPoints = 12.0;

    explicit ColumnSampler(GlyphCanvas& canvas);

    // Sets the size to 12 points, clears the canvas and draws the title at (0, 0).
    // Throws std::invalid_argument unless there is one picture for each mark.
    void drawTitle(const std::u16string& title, std::span<const Picture> pictures = {});
    void clear();
    // Draws the message at (0, 0) on a canvas the caller has cleared, at the
    // size the title draw left.
    void drawMessage(const std::u16string& message, std::span<const Picture> pictures = {});
    // One word per column 0 .. columns - 1, in column order. Only pixels that
    // are exactly black count; columns past the canvas give 0.
    std::vector<double> sample(std::size_t columns, RowWindow window) const;

    // How many columns the whole message takes at the current size, its
    // pictures included.
    std::size_t messageWidth(const std::u16string& message, std::span<const Picture> pictures = {}) const;
    // Samples columns 0 .. columns - 1 of the message as if drawn on a canvas
    // that wide, through the standard rows, one canvas-wide piece at a time
    // so that memory stays bounded; each word goes to the callback in column
    // order. Leaves the canvas showing the message's first columns.
    void sampleWide(const std::u16string& message, std::size_t columns, const std::function<void(double)>& each,
                    std::span<const Picture> pictures = {});

private:
    // One run of a text that holds marks: the text between two marks, or a
    // mark's picture, with the column it starts at and the column past the
    // last one its drawing can reach, both from the text's start.
    struct Piece {
        std::u16string text;
        const Picture* picture = nullptr;
        std::int64_t left = 0;
        std::int64_t reach = 0;
    };

    // The pieces of a text that holds marks, each in its place at the
    // current size; none for a text without marks, which is drawn whole.
    // With drawnBelow, only to be drawn on columns below it: the pieces
    // that start too far right to reach them are left out, and a text's
    // reach is not measured (it may reach any column right of its start).
    std::vector<Piece> layOut(const std::u16string& text, std::span<const Picture> pictures,
                              std::optional<std::int64_t> drawnBelow = std::nullopt) const;
    // Draws the pieces that can reach columns from .. to - 1 of the text,
    // with the text's start at canvas column -from.
    void drawPieces(const std::vector<Piece>& pieces, std::int64_t from, std::int64_t to);

    GlyphCanvas& m_canvas;
};

} // namespace generation
