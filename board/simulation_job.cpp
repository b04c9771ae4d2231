#include "board/simulation_job.h"

#include "board/board_tools.h"
#include "board/preflight.h"
#include "board/tool_exit.h"

#include <QFileInfo>

#include <variant>

namespace board {

namespace {

// What the simulator says on its standard error is kept for the log, up to this much.
constexpr qsizetype kMostErrorText = 64 * 1024;
// A run as fast as the machine can is stopped only when it is far slower
// than the board (a quarter of real time) and then some.
constexpr double kSlowestPace = 0.25;
constexpr int kTimeLimitSlack = 60000;
// The simulator's exit status when the sketch faulted, which it has said.
constexpr int kSketchFaulted = 1;

template <typename... Handlers>
struct Visitor : Handlers... {
    using Handlers::operator()...;
};

const ToolExit::Tool& simulator()
{
    static const ToolExit::Tool tool{QStringLiteral("ledmarquee-simulator"), BoardFailure::SimulatorMissing, {},
                                     QStringLiteral("the simulator ran far slower than the board and was stopped")};
    return tool;
}

} // namespace

SimulationJob::SimulationJob(QObject* parent) : QObject(parent)
{
    qRegisterMetaType<simulator::SimulatorOutput::Wiring>();
    qRegisterMetaType<simulator::SimulatorOutput::Frame>();
    qRegisterMetaType<simulator::SimulatorOutput::Light>();
    qRegisterMetaType<simulator::SimulatorOutput::Fault>();
    connect(&m_life, &JobLife::finished, this, &SimulationJob::finished);
    connect(&m_build, &BoardJob::finished, this, &SimulationJob::onCompiled);
    m_simulator.setSeparateChannels(true);
    connect(&m_simulator, &ProcessRunner::received, this, &SimulationJob::onReceived);
    connect(&m_simulator, &ProcessRunner::finished, this, &SimulationJob::onSimulatorFinished);
}

SimulationJob::~SimulationJob() = default;

bool SimulationJob::isRunning() const
{
    return m_life.isRunning();
}

void SimulationJob::start(const QString& sketchText, const Request& request)
{
    if (!m_life.begin()) {
        return;
    }
    m_request = request;
    m_compiledOutcome = BoardOutcome();
    m_output = simulator::SimulatorOutput();
    m_errors.clear();
    m_simulatorError.clear();
    m_unreadableLine.reset();
    if (const BoardOutcome missing = Preflight::forSimulation(); !missing.ok()) {
        m_life.finishLater(missing);
        return;
    }
    m_build.compile(sketchText);
}

void SimulationJob::cancel()
{
    if (m_life.stop()) {
        m_build.cancel();
        m_simulator.cancel();
    }
}

void SimulationJob::pause()
{
    m_simulator.pause();
}

void SimulationJob::resume()
{
    m_simulator.resume();
}

void SimulationJob::onCompiled(const BoardOutcome& outcome)
{
    if (!outcome.ok()) {
        finish(outcome);
        return;
    }
    m_compiledOutcome = outcome;
    emit compiled(outcome);
    if (m_life.finishIfStopping(outcome)) {
        return;
    }
    BoardOutcome copied = outcome;
    // The ELF file carries the sketch's symbols; the HEX does if it is gone.
    const QString copy =
        m_compiledCopy.take(QFileInfo::exists(outcome.elfPath) ? outcome.elfPath : outcome.hexPath, copied);
    if (!copied.ok()) {
        finish(copied);
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
    if (m_life.state() != JobLife::State::Running) {
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
                       [this](const SimulatorOutput::Progress& progress) { emit progressed(progress.microseconds); },
                       [](const SimulatorOutput::End&) {},
                       [this](const SimulatorOutput::Error& error) { m_simulatorError = error.text; },
                       [this](const SimulatorOutput::Unreadable& unreadable) {
                           // A simulator this tool cannot follow: nothing it says after can be trusted.
                           m_unreadableLine = unreadable.line;
                           cancel();
                       },
                   },
                   event);
        if (m_life.state() != JobLife::State::Running) {
            return; // a handler stopped the run
        }
    }
}

void SimulationJob::onSimulatorFinished(const ProcessRunner::Result& result)
{
    if (m_unreadableLine) {
        BoardOutcome unreadable = m_compiledOutcome;
        unreadable.failure = BoardFailure::SimulatorUnreadable;
        unreadable.toolMessage = *m_unreadableLine;
        unreadable.detail =
            QStringLiteral("the simulator wrote a line this tool cannot read: \"%1\"").arg(*m_unreadableLine);
        finish(unreadable);
        return;
    }
    BoardOutcome outcome = ToolExit::outcome(result, simulator(), [this](int exitCode) {
        BoardOutcome ran = m_compiledOutcome;
        if (exitCode == 0 || exitCode == kSketchFaulted) {
            return ran;
        }
        ran.failure = BoardFailure::SimulatorFailed;
        ran.toolMessage = m_simulatorError;
        ran.exitStatus = exitCode;
        ran.detail = m_simulatorError.isEmpty()
            ? QStringLiteral("the simulator failed (exit status %1)").arg(exitCode)
            : QStringLiteral("the simulator could not run the sketch: %1").arg(m_simulatorError);
        return ran;
    }, m_compiledOutcome);
    finish(outcome);
}

void SimulationJob::finish(BoardOutcome outcome)
{
    if (!m_errors.isEmpty()) {
        outcome.log += QStringLiteral("\n") + m_errors;
    }
    m_compiledCopy.release();
    m_life.finish(outcome);
}

} // namespace board
