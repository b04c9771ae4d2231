#pragma once

#include "generation/sketch_text.h"

#include <algorithm>
#include <cstddef>

namespace generation {

// How a whole message of a given width lies in the board's flash: how many
// arrays hold its words, and whether they are read with far addresses. The
// sketch is written by it and the board's memory is counted by it, so the
// two cannot drift apart. It writes no text.
struct FlashLayout {
    std::size_t arrays = 1;
    bool far = false;

    // An empty message still keeps one dark column, so that there is an array.
    static constexpr FlashLayout forWidth(std::size_t width)
    {
        const std::size_t columns = std::max<std::size_t>(width, 1);
        return {(columns + SketchText::kFlashArrayWords - 1) / SketchText::kFlashArrayWords,
                columns > SketchText::kNearFlashWords};
    }
};

} // namespace generation
