#pragma once

#include "board/board_outcome.h"

#include <QString>

namespace board {

// Reads what arduino-builder printed for one compile: the sizes of a sketch
// that compiled, and for one that did not, what was wrong: the compiler's
// first error and the sketch line it points at, or what the linker named
// (a function missing or defined twice, a program or its variables too big
// for the board). It takes the text and returns what it found; it runs
// nothing and words nothing for the user beyond one English line.
class BuilderOutput {
public:
    // The outcome of a compile that ended with this exit code: the sizes
    // on success; otherwise CompileFailed with the build error, the first
    // error's line, the tool's own words and a one-line detail. The log
    // and the files are left to the caller.
    static BoardOutcome read(const QString& output, int exitCode);
    // "Sketch uses N bytes" and "Global variables use N bytes", -1 where absent.
    static int flashBytes(const QString& output);
    static int sramBytes(const QString& output);
};

} // namespace board
