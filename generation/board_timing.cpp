#include "generation/board_timing.h"

namespace generation {

// Cycles per loop phase, measured on the simulated board (the board tests
// print them): a lit column takes about 1,636 cycles, delayMicroseconds(100)
// plus the port writes, the array load and the core's timer interrupt; K
// and F sit in extended I/O space and take longer stores than B and A.
BoardTiming BoardTiming::panelSketch()
{
    return {950.9, 104715.0, 103427.6, 3359.3, 104715.3, 941.1, 104715.1, 5176.3};
}

BoardTiming BoardTiming::fileSketch()
{
    return {903.1, 104586.3, 103298.9, 3353.7, 104586.7, 939.8, 104586.2, 5326.0};
}

BoardTiming BoardTiming::wholeMessageSketch()
{
    return {966.9, 104715.0, 103427.6, 3429.2, 104715.3, 2014.8, 104715.2, 4042.6};
}

} // namespace generation
