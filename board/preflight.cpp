#include "board/preflight.h"

#include "board/board_tools.h"

#include <QFileInfo>

#include <cerrno>

namespace board {

namespace {

BoardOutcome toolsMissing(const QStringList& missing, const QString& which)
{
    BoardOutcome outcome;
    outcome.failure = BoardFailure::ToolsMissing;
    outcome.missingPackages = missing;
    outcome.detail = QStringLiteral("%1 not installed (apt install %2)").arg(which, missing.join(QLatin1Char(' ')));
    return outcome;
}

} // namespace

BoardOutcome Preflight::forCompile()
{
    if (const QStringList missing = BoardTools::missingForCompile(); !missing.isEmpty()) {
        return toolsMissing(missing, QStringLiteral("the Arduino build tools are"));
    }
    return {};
}

BoardOutcome Preflight::forUpload(const QString& port)
{
    BoardOutcome outcome;
    if (const QStringList missing = BoardTools::missingForAll(); !missing.isEmpty()) {
        outcome = toolsMissing(missing, QStringLiteral("the Arduino tools are"));
    } else if (port.trimmed().isEmpty()) {
        outcome.failure = BoardFailure::NoPort;
        outcome.detail = QStringLiteral("no serial port was given");
    } else if (!QFileInfo::exists(port)) {
        outcome.failure = BoardFailure::PortNotFound;
        outcome.subject = port;
        outcome.osError = ENOENT;
        outcome.detail = QStringLiteral("cannot open %1: No such file or directory").arg(port);
    }
    return outcome;
}

BoardOutcome Preflight::forSimulation()
{
    BoardOutcome outcome;
    if (BoardTools::simulatorProgram().isEmpty()) {
        const QString path = BoardTools::simulatorPath();
        outcome.failure = BoardFailure::SimulatorMissing;
        outcome.subject = path;
        outcome.osError = QFileInfo::exists(path) ? EACCES : ENOENT;
        outcome.detail = QStringLiteral("the simulator %1 is missing").arg(path);
    }
    return outcome;
}

} // namespace board
