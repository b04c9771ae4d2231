#include "cli/simulate_command.h"

#include "board/simulation_job.h"
#include "cli/board_commands.h"
#include "cli/command_line.h"
#include "cli/error_line.h"
#include "cli/interrupt_watch.h"
#include "cli/simulation_progress.h"

#include <QEventLoop>

#include <cmath>
#include <cstdio>
#include <optional>

namespace cli {

namespace {

using Fault = simulator::SimulatorOutput::Fault;

// What happened to the simulated board, for the one error line.
QString faultLine(const Fault& fault)
{
    const QString when = fault.secondsText();
    switch (fault.kind) {
    case Fault::Kind::Crashed:
        return QStringLiteral("the simulated board crashed at %1 s: its core ran off at flash address %2")
            .arg(when, fault.addressText());
    case Fault::Kind::InvalidOpcode:
        return QStringLiteral("the simulated board crashed at %1 s: an invalid instruction at flash address %2")
            .arg(when, fault.addressText());
    case Fault::Kind::Restarted:
        return QStringLiteral("the simulated board restarted at %1 s: its core jumped to address 0 from %2 "
                              "(a call through a null function pointer, an interrupt with no handler, "
                              "or the watchdog)")
            .arg(when, fault.addressText());
    case Fault::Kind::Resets:
        return QStringLiteral("the simulated board resets over and over: from %1 s on, its core went back to "
                              "address 0 %2 times, the last from %3 (a call through a null function pointer, an "
                              "interrupt with no handler, or the watchdog)")
            .arg(when)
            .arg(fault.restarts)
            .arg(fault.addressText());
    case Fault::Kind::Asleep:
        return QStringLiteral("the simulated board stopped at %1 s: its core went to sleep with interrupts off at "
                              "flash address %2 and nothing can wake it")
            .arg(when, fault.addressText());
    case Fault::Kind::NoColumns:
        break;
    }
    return QStringLiteral("the sketch does not drive the sign: in %1 s, port C never passed over the columns 0 to 63")
        .arg(when);
}

QString wiringLine(const simulator::SimulatorOutput::Wiring& wiring)
{
    if (wiring.both) {
        return QStringLiteral("the sketch drives both K and F and B and A with the words, port C the column");
    }
    if (wiring.ports == generation::PortWiring::PortsKF) {
        return QStringLiteral("the sketch drives the sign on ports K (high byte) and F (low byte), port C the column");
    }
    return QStringLiteral("the sketch drives the sign on ports B (high byte) and A (low byte), port C the column");
}

} // namespace

int SimulateCommand::run(double seconds, const QString& sketchText)
{
    board::SimulationJob job;
    board::SimulationJob::Request request;
    request.seconds = seconds;
    request.frames = true;
    SimulationProgress progress(seconds);
    std::optional<Fault> fault;
    board::BoardOutcome outcome;
    QEventLoop loop;
    QObject::connect(&job, &board::SimulationJob::frameShown, [](const simulator::SimulatorOutput::Frame& frame) {
        const std::string line = simulator::SimulatorOutput::frameText(frame) + '\n';
        std::fwrite(line.data(), 1, line.size(), stdout);
    });
    QObject::connect(&job, &board::SimulationJob::wiringRecognised,
                     [&progress](const simulator::SimulatorOutput::Wiring& wiring) {
                         progress.end();
                         printError(wiringLine(wiring));
                     });
    QObject::connect(&job, &board::SimulationJob::faulted, [&fault](const Fault& seen) { fault = seen; });
    QObject::connect(&job, &board::SimulationJob::compiled, [&progress] { progress.start(); });
    QObject::connect(&job, &board::SimulationJob::progressed,
                     [&progress](std::uint64_t microseconds) { progress.show(microseconds); });
    QObject::connect(&job, &board::SimulationJob::finished, [&](const board::BoardOutcome& result) {
        outcome = result;
        loop.quit();
    });

    const InterruptWatch interruptWatch([&job] { job.cancel(); });

    job.start(sketchText, request);
    loop.exec();
    progress.end();
    if (std::fflush(stdout) != 0) {
        printError(QStringLiteral("cannot write the frames to standard output"));
        return CommandLine::kFailed;
    }

    using board::BoardFailure;
    switch (outcome.failure) {
    case BoardFailure::None:
        break;
    case BoardFailure::Cancelled:
        printError(QStringLiteral("interrupted"));
        return BoardCommands::kInterrupted;
    case BoardFailure::CompileFailed:
        printError(BoardCommands::failureLine(outcome));
        return CommandLine::kFailed;
    case BoardFailure::ToolsMissing:
        printError(BoardCommands::failureLine(outcome));
        return BoardCommands::kBoardFailed;
    default:
        printError(QStringLiteral("simulation failed: %1").arg(outcome.detail));
        return BoardCommands::kBoardFailed;
    }
    if (fault) {
        printError(faultLine(*fault));
        return CommandLine::kFailed;
    }
    return CommandLine::kOk;
}

} // namespace cli
