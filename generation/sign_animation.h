#pragma once

#include "generation/board_timing.h"
#include "generation/marquee_shape.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace generation {

// What the sign shows, frame by frame, when the panel sketch's loop() runs:
// the title blinks three times, rolls up in 16 steps, then the message
// slides across one column per step, and the loop starts again. A frame is
// one scan of the 64 columns, and it lasts what the board's timing says it
// lasts. It knows nothing of drawing.
class SignAnimation {
public:
    using Frame = std::array<std::uint16_t, MarqueeShape::kColumns>;

    static constexpr int kColumns = MarqueeShape::kColumns;
    static constexpr int kRows = MarqueeShape::kRows;
    static constexpr int kBlinks = MarqueeShape::kBlinks;
    static constexpr int kLitFrames = MarqueeShape::kLitFrames;
    static constexpr int kDarkFrames = MarqueeShape::kDarkFrames;
    static constexpr int kRollSteps = MarqueeShape::kRollSteps;
    static constexpr int kRollFrames = MarqueeShape::kRollFrames;
    static constexpr int kMarqueeFrames = MarqueeShape::kMarqueeFrames;

    // messageWords are the words after the 64 blank entries; columnCount is
    // the sketch's slen; timing is the board's for the sketch's wiring.
    SignAnimation(const std::vector<double>& titleWords, const std::vector<double>& messageWords,
                  std::size_t columnCount, const BoardTiming& timing = BoardTiming::panelSketch());

    // Frames in one pass of loop().
    std::size_t frameCount() const;
    // The frame shown at this index; indexes past the end wrap to the start.
    Frame frame(std::size_t index) const;
    // One pass of loop() on the board.
    double loopMicroseconds() const;
    // When frame index (below frameCount()) starts within the loop.
    double frameStartMicroseconds(std::size_t index) const;
    // The frame on show this long after the loop first started.
    std::size_t frameAtMicroseconds(double microseconds) const;

    // A word as the board's compiler stores it in an unsigned int: the
    // fraction is dropped.
    static std::uint16_t boardValue(double word);
    // Whether LED row (0 at the top) of this column is lit.
    static bool lit(const Frame& frame, int column, int row);

private:
    Frame m_title{};
    std::vector<std::uint16_t> m_message; // the 64 blanks, then the message words
    std::size_t m_columnCount;
    BoardTiming m_timing;
};

} // namespace generation
