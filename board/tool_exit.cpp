#include "board/tool_exit.h"

#include <cstring>
#include <utility>

namespace board {

BoardOutcome ToolExit::outcome(const ProcessRunner::Result& result, const Tool& tool,
                               const std::function<BoardOutcome(int exitCode)>& readOutput, BoardOutcome base)
{
    if (result.exit == ProcessRunner::Exit::Normal) {
        return readOutput(result.exitCode);
    }
    BoardOutcome outcome = std::move(base);
    outcome.subject = tool.name;
    switch (result.exit) {
    case ProcessRunner::Exit::FailedToStart:
        outcome.failure = tool.whenMissing;
        outcome.missingPackages = tool.packages;
        outcome.detail = QStringLiteral("cannot start %1: %2").arg(tool.name, result.error);
        break;
    case ProcessRunner::Exit::Cancelled:
        outcome.failure = BoardFailure::Cancelled;
        outcome.detail = QStringLiteral("%1 was stopped").arg(tool.name);
        break;
    case ProcessRunner::Exit::TimedOut:
        outcome.failure = BoardFailure::TimedOut;
        outcome.detail = tool.timedOut;
        break;
    case ProcessRunner::Exit::Crashed:
        outcome.failure = BoardFailure::Crashed;
        outcome.signal = result.signal;
        outcome.detail = QStringLiteral("%1 was ended by signal %2 (%3)")
                             .arg(tool.name)
                             .arg(result.signal)
                             .arg(QString::fromLocal8Bit(::strsignal(result.signal)));
        break;
    case ProcessRunner::Exit::Normal:
        break;
    }
    return outcome;
}

} // namespace board
