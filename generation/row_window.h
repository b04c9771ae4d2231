#pragma once

namespace generation {

// The 16 canvas rows that make one column word and the weight of each:
// row j weighs 2^(j - offset). It holds no pixels; the sampler applies it.
struct RowWindow {
    int firstRow;
    int lastRow;
    int offset;

    // Rows 0-15 with row 1 on the lowest bit: row 0 adds one half, and the
    // top bit of the word is never set. Sketches already in use rely on it.
    static constexpr RowWindow standard() { return {0, 15, 1}; }
    // Rows 3-18 on bits 0-15 exactly.
    static constexpr RowWindow lowered() { return {3, 18, 3}; }

    friend constexpr bool operator==(RowWindow, RowWindow) = default;
};

} // namespace generation
