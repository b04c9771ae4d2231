#pragma once

#include "generation/board_timing.h"
#include "generation/marquee_shape.h"
#include "generation/sketch_layout.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace generation {

// What the sign shows, frame by frame, when a sketch's loop() runs: for the
// marquee, the title blinks three times, rolls up in 16 steps, then the
// message slides across one column per step; for the wiring test, each row
// alone, each column alone, then every LED. Then the loop starts again. A
// frame is one scan of the 64 columns, and it lasts what the board's timing
// says it lasts. It knows nothing of drawing.
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

    // What one frame of the wiring test lights: a row (index 0 at the top),
    // a column (index 0 at the left) or every LED. The marquee's frames show
    // a message.
    enum class Part { Message, Row, Column, Everything };
    struct Picture {
        Part part = Part::Message;
        int index = 0;
        bool operator==(const Picture&) const = default;
    };

    // The marquee: messageWords are the words after the 64 blank entries;
    // columnCount is the sketch's slen; timing is the board's for the
    // sketch's wiring; each marquee step shows for stepFrames frames.
    SignAnimation(const std::vector<double>& titleWords, const std::vector<double>& messageWords,
                  std::size_t columnCount, const BoardTiming& timing = BoardTiming::panelSketch(),
                  int stepFrames = kMarqueeFrames);
    // The wiring test for this wiring.
    static SignAnimation wiringTest(PortWiring wiring);

    // Frames in one pass of loop().
    std::size_t frameCount() const;
    // The frame shown at this index; indexes past the end wrap to the start.
    Frame frame(std::size_t index) const;
    // What the wiring test lights at this index (wrapping as frame() does).
    Picture picture(std::size_t index) const;
    bool isWiringTest() const { return m_wiringTest; }
    // The wiring the wiring test was made for.
    PortWiring wiring() const { return m_wiring; }
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
    // A run of steps in loop() that each fill a[] (stepCycles) and then show
    // it for framesPerStep frames of frameCycles each; what they show is
    // their kind's.
    enum class Kind { Title, Dark, Roll, Marquee, Row, Column, Everything };
    struct Phase {
        Kind kind;
        std::size_t steps;
        std::size_t framesPerStep;
        double stepCycles;
        double frameCycles;
    };

    SignAnimation() = default;
    void addPhase(Phase phase);
    // The phase that shows frame index (below frameCount()), with index
    // made relative to the phase's first frame.
    const Phase& phaseOf(std::size_t& index) const;

    std::vector<Phase> m_phases;
    std::size_t m_frameCount = 0;
    double m_loopCycles = 0;
    bool m_wiringTest = false;
    PortWiring m_wiring = PortWiring::PortsKF;
    Frame m_title{};
    std::vector<std::uint16_t> m_message; // the 64 blanks, then the message words
};

} // namespace generation
