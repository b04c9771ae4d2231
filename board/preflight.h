#pragma once

#include "board/board_outcome.h"

#include <QString>

namespace board {

// Checks, before a job starts anything, that what it needs is there: the
// Arduino tools for compiling and for uploading, a serial port that
// exists, the tool's own simulator. Each check returns the outcome to
// report, or one without failure; running anything is the jobs'.
class Preflight {
public:
    static BoardOutcome forCompile();
    // The tools for compiling and uploading, then the port.
    static BoardOutcome forUpload(const QString& port);
    static BoardOutcome forSimulation();
};

} // namespace board
