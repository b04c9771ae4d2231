#pragma once

#include "board/board_outcome.h"
#include "board/process_runner.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace board {

// How one run of a tool ended, in the board layer's terms: a tool that
// could not start is missing, one that was stopped was cancelled or ran out
// of time, one that a signal ended crashed, and one that ended by itself
// said how in its output, which the tool's own reader reads. It words each
// in one English line; what a failure means to the user is the front ends'.
class ToolExit {
public:
    struct Tool {
        QString name;            // as the user knows it: arduino-builder
        BoardFailure whenMissing; // ToolsMissing, or SimulatorMissing for the tool's own
        QStringList packages;    // the Debian packages that bring it
        QString timedOut;        // what running out of time means for it
    };

    // The outcome, with the program named as its subject where the failure
    // is the program's; readOutput turns the exit code of a program that
    // ended by itself into an outcome. A failure of the program's own is
    // laid over base, which holds what the job knew before it ran.
    static BoardOutcome outcome(const ProcessRunner::Result& result, const Tool& tool,
                                const std::function<BoardOutcome(int exitCode)>& readOutput, BoardOutcome base = {});
};

} // namespace board
