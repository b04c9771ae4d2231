#pragma once

#include "generation/line_file.h"
#include "generation/sketch_layout.h"

#include <string>

namespace generation {

// Writes the wiring test, a sketch for a freshly soldered sign: in a loop it
// lights each of the 16 rows alone across all 64 columns (the top row, the
// word's bit 0, first; about half a second each), then each column alone
// with all its rows (column 0 first; about a tenth of a second each), then
// every LED (about a second). It drives the columns with the marquee's own
// frame lines, on ports K and F or B and A, and counts the frames for each
// picture from the board's timing. Playing the test is SignAnimation's, and
// telling the user what a picture means is the window's.
class WiringTestSketch {
public:
    enum class Part { Row, Column, Everything };

    static constexpr double kRowMicroseconds = 500000;
    static constexpr double kColumnMicroseconds = 100000;
    static constexpr double kEverythingMicroseconds = 1000000;

    // How many frames each picture of a part is shown, so that it lasts its
    // time on the board's clock for this wiring.
    static int frames(Part part, PortWiring wiring);

    // Writes the sketch into out, line by line; out is not committed.
    static void write(LineFile& out, PortWiring wiring);
    // The sketch as UTF-8 with CR LF line ends.
    static std::string text(PortWiring wiring);

    // The data port that lights LED row (0 at the top) in this wiring, and
    // its bit: rows 0-7 are the word's low byte (F or A), rows 8-15 its
    // high byte (K or B).
    static char rowPort(int row, PortWiring wiring);
    static int rowBit(int row) { return row % 8; }
    // The Mega 2560 header pin wired to a port's bit, as printed beside it:
    // "A2" for PF2, "A8" for PK0, "22" for PA0, "53" for PB0, "37" for PC0.
    static std::string pinName(char port, int bit);
};

} // namespace generation
