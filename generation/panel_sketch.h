#pragma once

#include "generation/marquee_shape.h"

#include <cstddef>
#include <string>
#include <vector>

namespace generation {

// One generated panel sketch: its text and the column words it carries, so
// that a preview can play exactly what the board will be given.
struct PanelSketch {
    std::string text;
    std::vector<double> titleWords;
    // The message words from column 0, without the 64 blank entries that
    // open the sketch's message; every column from messageWords.size() up
    // to columnCount is 0.
    std::vector<double> messageWords;
    std::size_t columnCount = 0;
    // How far the message's drawing reaches among the columns sampled (the
    // canvas's, or all of a whole message's): its last column with a
    // non-zero word, plus one; 0 when it leaves no ink.
    std::size_t drawnWidth = 0;
    // Frames each marquee step is shown.
    int stepFrames = MarqueeShape::kMarqueeFrames;
};

} // namespace generation
