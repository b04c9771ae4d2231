#pragma once

#include <QString>

namespace cli {

// The command line's --simulate: runs a sketch on the simulated Mega 2560
// as fast as the machine can and prints, for each frame whose picture
// differs from the one before, the time it began and its 64 column words;
// on a terminal, standard error shows how far a long run has come. Making
// the sketch, or reading it from a file, is left to the command line,
// compiling and simulating to the board layer.
class SimulateCommand {
public:
    // Compiles and runs the sketch for this many simulated seconds; returns
    // the exit status: 0 when it ran, 1 when it did not compile or link or
    // the simulated board faulted, 3 when the tools or the simulator failed,
    // 130 when interrupted.
    static int run(double seconds, const QString& sketchText);
};

} // namespace cli
