#pragma once

#include "generation/sketch_layout.h"

namespace generation {

// How long the wiring test's loop takes on a Mega 2560 at 16 MHz, in CPU
// cycles, for one wiring: a frame (64 columns, driven as the marquee drives
// them), the work before each row's and each column's picture and before
// the picture with every LED on (filling a[]), and loop() ending and being
// called again. The figures are averages measured on the simulated board
// from the IDE's build of the sketch; the board tests hold them to it. It
// says nothing of what a frame shows.
struct WiringTestTiming {
    double rowStep;
    double columnStep;
    double everythingStep;
    double frame;
    double loopReturn;   // with the first row's fill less the average row step

    static WiringTestTiming forWiring(PortWiring wiring);
};

} // namespace generation
