#include "board/simulation_job.h"

#include "board/board_tools.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <variant>

namespace board {

namespace {

// What the simulator says on its standard error is kept for the log, up to this much.
constexpr qsizetype kMostErrorText = 64 * 1024;
// A run as fast as the machine can is stopped only when it is far slower
// than the board (a quarter of real time) and then some.
constexpr double kSlowestPace = 0.25;
constexpr int kTimeLimitSlack = 60000;

template <typename... Handlers>
struct Visitor : Handlers... {
    using Handlers::operator()...;
};

} // namespace

SimulationJob::SimulationJob(QObject* parent) : QObject(parent)
{
    qRegisterMetaType<board::BoardOutcome>();
    qRegisterMetaType<simulator::SimulatorOutput::Wiring>();
    qRegisterMetaType<simulator::SimulatorOutput::Frame>();
    qRegisterMetaType<simulator::SimulatorOutput::Light>();
    qRegisterMetaType<simulator::SimulatorOutput::Fault>();
    connect(&m_build, &BoardJob::finished, this, &SimulationJob::onCompiled);
    m_simulator.setSeparateChannels(true);
    connect(&m_simulator, &ProcessRunner::received, this, &SimulationJob::onReceived);
    connect(&m_simulator, &ProcessRunner::finished, this, &SimulationJob::onSimulatorFinished);
}

SimulationJob::~SimulationJob() = default;

bool SimulationJob::isRunning() const
{
    return m_running;
}

void SimulationJob::start(const QString& sketchText, const Request& request)
{
    if (m_running) {
        return;
    }
    m_running = true;
    m_cancelled = false;
    m_request = request;
    m_compiledOutcome = BoardOutcome();
    m_output = simulator::SimulatorOutput();
    m_errors.clear();
    m_simulatorError.clear();
    m_unreadableLine.reset();
    if (BoardTools::simulatorProgram().isEmpty()) {
        BoardOutcome missing;
        missing.failure = BoardFailure::Other;
        missing.detail = QStringLiteral("the simulator %1 is missing").arg(BoardTools::simulatorPath());
        QTimer::singleShot(0, this, [this, missing] { finish(missing); });
        return;
    }
    m_build.compile(sketchText);
}

void SimulationJob::cancel()
{
    if (!m_running) {
        return;
    }
    m_cancelled = true;
    if (m_build.isRunning()) {
        m_build.cancel();
    }
    m_simulator.cancel();
}

void SimulationJob::onCompiled(const BoardOutcome& outcome)
{
    if (!m_running) {
        return;
    }
    if (!outcome.ok()) {
        finish(outcome);
        return;
    }
    m_compiledOutcome = outcome;
    emit compiled(outcome);
    if (m_cancelled) {
        BoardOutcome cancelled = outcome;
        cancelled.failure = BoardFailure::Cancelled;
        finish(cancelled);
        return;
    }
    // The simulator gets a copy of its own: the build folder is the next
    // compile's, from this window or from the command line. The ELF file
    // beside the HEX carries the sketch's symbols; the HEX does if it is gone.
    m_folder = std::make_unique<QTemporaryDir>();
    QString elf = outcome.hexPath;
    elf.chop(QStringLiteral(".hex").size());
    elf += QStringLiteral(".elf");
    const QString source = QFileInfo::exists(elf) ? elf : outcome.hexPath;
    const QString copy = m_folder->filePath(QFileInfo(source).fileName());
    if (!m_folder->isValid() || !QFile::copy(source, copy)) {
        BoardOutcome failed = outcome;
        failed.failure = BoardFailure::Other;
        failed.detail = QStringLiteral("cannot copy %1 into a temporary folder").arg(source);
        finish(failed);
        return;
    }

    QStringList arguments;
    if (m_request.seconds > 0) {
        arguments << QStringLiteral("--seconds") << QString::number(m_request.seconds, 'g', 17);
    }
    if (m_request.pace == Pace::RealTime) {
        arguments << QStringLiteral("--real-time");
    }
    if (m_request.frames) {
        arguments << QStringLiteral("--frames");
    }
    if (m_request.light) {
        arguments << QStringLiteral("--light");
    }
    arguments << copy;
    const bool limited = m_request.pace == Pace::AsFastAsItCan;
    m_simulator.setTimeLimit(limited ? int(m_request.seconds * 1000 / kSlowestPace) + kTimeLimitSlack : 0);
    m_simulator.start(BoardTools::simulatorProgram(), arguments);
}

void SimulationJob::onReceived(ProcessRunner::Channel channel, const QString& text)
{
    if (channel == ProcessRunner::Channel::StandardError) {
        m_errors += text.left(std::max<qsizetype>(0, kMostErrorText - m_errors.size()));
        return;
    }
    if (m_cancelled) {
        return; // what a stopped run still had on its way is not shown
    }
    using simulator::SimulatorOutput;
    for (const SimulatorOutput::Event& event : m_output.read(text)) {
        std::visit(Visitor{
                       [this](const SimulatorOutput::Wiring& wiring) { emit wiringRecognised(wiring); },
                       [this](const SimulatorOutput::Frame& frame) { emit frameShown(frame); },
                       [this](const SimulatorOutput::Light& light) { emit lightChanged(light); },
                       [this](const SimulatorOutput::Dark& dark) { emit stillDark(dark.microseconds); },
                       [this](const SimulatorOutput::Fault& fault) { emit faulted(fault); },
                       [](const SimulatorOutput::End&) {},
                       [this](const SimulatorOutput::Error& error) { m_simulatorError = error.text; },
                       [this](const SimulatorOutput::Unreadable& unreadable) {
                           // A simulator this tool cannot follow: nothing it says after can be trusted.
                           m_unreadableLine = unreadable.line;
                           cancel();
                       },
                   },
                   event);
        if (m_cancelled) {
            return; // a handler stopped the run
        }
    }
}

void SimulationJob::onSimulatorFinished(const ProcessRunner::Result& result)
{
    BoardOutcome outcome = m_compiledOutcome;
    if (!m_errors.isEmpty()) {
        outcome.log += QStringLiteral("\n") + m_errors;
    }
    if (m_unreadableLine) {
        outcome.failure = BoardFailure::Other;
        outcome.detail = QStringLiteral("the simulator wrote a line this tool cannot read: \"%1\"").arg(*m_unreadableLine);
        finish(outcome);
        return;
    }
    switch (result.exit) {
    case ProcessRunner::Exit::Normal:
        // 1 is a fault of the sketch, which the simulator has said.
        if (result.exitCode != 0 && result.exitCode != 1) {
            outcome.failure = BoardFailure::Other;
            outcome.detail = m_simulatorError.isEmpty()
                ? QStringLiteral("the simulator failed (exit status %1)").arg(result.exitCode)
                : QStringLiteral("the simulator could not run the sketch: %1").arg(m_simulatorError);
        }
        break;
    case ProcessRunner::Exit::Cancelled:
        outcome.failure = BoardFailure::Cancelled;
        outcome.detail = QStringLiteral("the simulation was stopped");
        break;
    case ProcessRunner::Exit::TimedOut:
        outcome.failure = BoardFailure::TimedOut;
        outcome.detail = QStringLiteral("the simulator ran far slower than the board and was stopped");
        break;
    case ProcessRunner::Exit::Crashed:
        outcome.failure = BoardFailure::Other;
        outcome.detail = QStringLiteral("the simulator stopped unexpectedly");
        break;
    case ProcessRunner::Exit::FailedToStart:
        outcome.failure = BoardFailure::Other;
        outcome.detail = QStringLiteral("cannot start the simulator: %1").arg(result.error);
        break;
    }
    finish(outcome);
}

void SimulationJob::finish(const BoardOutcome& outcome)
{
    if (!m_running) {
        return;
    }
    m_running = false;
    m_folder.reset();
    emit finished(outcome);
}

} // namespace board
