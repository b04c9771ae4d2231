#pragma once

#include <string>
#include <vector>

namespace generation {

// One generated panel sketch: its text and the column words it carries, so
// that a preview can play exactly what the board will be given.
struct PanelSketch {
    std::string text;
    std::vector<double> titleWords;
    // One word per message column (the sketch's slen of them), without the
    // 64 blank entries that open the sketch's message array.
    std::vector<double> messageWords;
};

} // namespace generation
