#pragma once

#include "board/board_outcome.h"

#include <QString>

namespace board {

// Reads what arduino-builder printed for one compile: the sizes of a sketch
// that compiled, and for one that did not, the compiler's first error and the
// sketch line it points at. It takes the text and returns what it found; it
// runs nothing and words nothing for the user.
class BuilderOutput {
public:
    struct Error {
        int sketchLine = 0; // 1-based; 0 when the error is not in the sketch or none was found
        QString message;    // empty when no error was found
    };

    // The outcome of a compile that ended with this exit code (-1: the
    // builder did not exit by itself): the sizes on success, CompileFailed
    // with the first error's line and a one-line detail otherwise. The log
    // and the hex are left to the caller.
    static BoardOutcome read(const QString& output, int exitCode);
    // "Sketch uses N bytes" and "Global variables use N bytes", -1 where absent.
    static int flashBytes(const QString& output);
    static int sramBytes(const QString& output);
    // The first "sketch.ino:LINE:COL: error: ..." of the output.
    static Error firstError(const QString& output);
};

} // namespace board
