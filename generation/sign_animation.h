#pragma once

#include "generation/board_timing.h"

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
    using Frame = std::array<std::uint16_t, 64>;

    static constexpr int kColumns = 64;
    static constexpr int kRows = 16;
    static constexpr int kBlinks = 3;
    static constexpr int kLitFrames = 101;  // j = 0 .. 100
    static constexpr int kDarkFrames = 51;  // j = 0 .. 50
    static constexpr int kRollSteps = 16;   // k = 0 .. 15
    static constexpr int kRollFrames = 11;  // j = 0 .. 10
    static constexpr int kMarqueeFrames = 6; // j = 0 .. 5

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
