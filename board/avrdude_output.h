#pragma once

#include "board/board_outcome.h"

#include <QString>

namespace board {

// Reads what avrdude printed while writing a sketch to the Mega's flash:
// how far its bars have come, whether a board answered, a port it could not
// open, and what the whole run came to. It takes the text (all of it so
// far) and returns what it found; it runs nothing and words nothing for the
// user. Success is exit 0 together with avrdude's report that the flash
// was verified.
class AvrdudeOutput {
public:
    // Turns avrdude's output and exit code (-1: it did not exit by itself)
    // into an outcome's failure and detail line; the log and hex path are
    // left to the caller.
    static BoardOutcome read(const QString& output, int exitCode);
    // How far the output so far has come, 0 to 100: the write bar is the
    // first half, the verify bar the second.
    static int uploadPercent(const QString& output);
    // Whether a bootloader has answered: avrdude has read the device signature.
    static bool boardAnswered(const QString& output);
    // The port avrdude reported it cannot open or use, with the reason,
    // or an outcome without failure when there is none. avrdude 7.1 goes
    // on spinning after such a report, so it is read as the output comes.
    static BoardOutcome portFailure(const QString& output);
};

} // namespace board
