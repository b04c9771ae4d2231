#pragma once

#include <cstdint>

namespace generation {

// How long the sign's loop takes on a Mega 2560 at 16 MHz, in CPU cycles,
// for one wiring of the sketch: a frame of each kind (64 columns), and the
// work before each step of frames (filling a[]). The figures are averages
// measured on the simulated board from the IDE's build of each sketch, the
// core's timer interrupt included; the board tests hold them to it. It
// says nothing of what a frame shows.
struct BoardTiming {
    // The Mega 2560's clock, which the simulated board runs at too.
    static constexpr std::uint32_t kClockHertz = 16000000;
    static constexpr double kCyclesPerMicrosecond = kClockHertz / 1e6;

    double blinkStep;    // a[j]=b[j] before each of the three blinks
    double litFrame;
    double darkFrame;
    double rollStep;     // a[j]=b[j]<<(15-k)
    double rollFrame;
    double marqueeStep;  // a[j]=c[j+k]
    double marqueeFrame;
    double loopReturn;   // loop() ending and being called again

    // One marquee step on the board's clock: filling a[] and showing it for
    // stepFrames frames. The work before the frames does not depend on
    // their number.
    double marqueeStepMicroseconds(int stepFrames) const
    {
        return (marqueeStep + stepFrames * marqueeFrame) / kCyclesPerMicrosecond;
    }

    // The panel sketch, wired to ports K and F.
    static BoardTiming panelSketch();
    // The sketch file, wired to ports B and A.
    static BoardTiming fileSketch();
    // The whole-message sketch on ports K and F: its counters are longs and
    // each marquee step reads 64 columns from flash.
    static BoardTiming wholeMessageSketch();
};

} // namespace generation
