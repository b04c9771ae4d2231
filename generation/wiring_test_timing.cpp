#include "generation/wiring_test_timing.h"

namespace generation {

// Cycles per loop phase, measured on the simulated board (the board tests
// print them). A frame takes what the marquee's lit frames take, since the
// lines are the same; K and F sit in extended I/O space and take longer
// stores than B and A. A row's fill shifts by its row number, five cycles a
// row, so the row step is the average of rows 1 to 15; the first row's
// shift by nothing is shorter than that, and the loop's return comes out
// below zero.
WiringTestTiming WiringTestTiming::forWiring(PortWiring wiring)
{
    if (wiring == PortWiring::PortsKF) {
        return {727.3, 691.8, 638.0, 104715.0, -88.3};
    }
    return {721.6, 689.5, 638.7, 104586.4, -81.9};
}

} // namespace generation
