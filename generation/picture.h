#pragma once

#include "generation/marquee_shape.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace generation {

// A picture as the sign takes it: as tall as a line of text on the canvas
// (16 pixels, one for each LED row) and one column word wide per pixel
// column, bit r of a word set when the pixel in row r from the top is lit.
// It is made by whoever reads image files and drawn by a canvas; it does
// not read, scale or threshold anything itself.
class Picture {
public:
    static constexpr int kHeight = MarqueeShape::kRows;
    // The widest picture taken, about 250 Chinese characters of 16 columns:
    // far past what the canvas shows, and within what a whole message may
    // hold many times over.
    static constexpr std::size_t kMaxWidth = 4096;

    Picture() = default;
    // Throws std::invalid_argument when there are more than kMaxWidth columns.
    explicit Picture(std::vector<std::uint16_t> columns);

    std::size_t width() const { return m_columns.size(); }
    bool lit(std::size_t x, int row) const { return ((m_columns.at(x) >> row) & 1u) != 0; }
    const std::vector<std::uint16_t>& columns() const { return m_columns; }

    friend bool operator==(const Picture&, const Picture&) = default;

private:
    std::vector<std::uint16_t> m_columns;
};

static_assert(Picture::kHeight == 16, "a column word holds one bit for each of the picture's rows");

} // namespace generation
