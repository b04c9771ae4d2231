#include "window/simulation_actions.h"

#include "board/board_tools.h"
#include "generation/sketch_error.h"
#include "platform/text_conversion.h"
#include "window/simulation_message.h"
#include "window/simulation_view.h"

#include <cerrno>

namespace window {

SimulationActions::SimulationActions(SimulationView& view, QObject* parent)
    : QObject(parent)
    , m_view(view)
    , m_guard(view)
{
    connect(&m_job, &board::SimulationJob::compiled, this, &SimulationActions::showCompiled);
    connect(&m_job, &board::SimulationJob::wiringRecognised, this,
            [this](const simulator::SimulatorOutput::Wiring& wiring) {
                m_view.showSignNote(SimulationMessage::running(wiring), false);
            });
    connect(&m_job, &board::SimulationJob::stillDark, this, [this](std::uint64_t microseconds) {
        m_view.showSignNote(SimulationMessage::stillDark(microseconds), false);
    });
    connect(&m_job, &board::SimulationJob::lightChanged, this,
            [this](const simulator::SimulatorOutput::Light& light) { m_view.showSimulatedSign(light.levels); });
    connect(&m_job, &board::SimulationJob::faulted, this, &SimulationActions::showFault);
    connect(&m_job, &board::SimulationJob::finished, this, &SimulationActions::showFinished);
}

void SimulationActions::toggle()
{
    if (m_job.isRunning()) {
        m_job.cancel();
    } else {
        m_guard.run([this] { start(); });
    }
}

void SimulationActions::stop()
{
    if (m_job.isRunning()) {
        m_stoppedForOther = true;
        m_job.cancel();
    }
}

void SimulationActions::start()
{
    if (board::BoardTools::simulatorProgram().isEmpty()) {
        const QString path = board::BoardTools::simulatorPath();
        throw generation::SketchError(generation::SketchError::kPathNotFound,
                                      platform::toUtf8(QStringLiteral("Path not found: the simulator %1").arg(path)),
                                      ENOENT, platform::toUtf8(path));
    }
    m_faulted = false;
    m_stoppedForOther = false;
    board::SimulationJob::Request request;
    request.pace = board::SimulationJob::Pace::RealTime;
    request.light = true;
    m_job.start(m_view.panelText(), request);
    m_view.showSimulationRunning(true);
    m_view.showSignNote(SimulationMessage::compiling(), false);
}

void SimulationActions::showCompiled(const board::BoardOutcome& outcome)
{
    m_view.showMeasuredMemory(outcome.flashBytes, outcome.sramBytes);
    m_view.showSignNote(SimulationMessage::running(), false);
}

void SimulationActions::showFault(const simulator::SimulatorOutput::Fault& fault)
{
    // The simulator stops at a fault; what it was is the news.
    m_faulted = true;
    m_view.showSignNote(SimulationMessage::fault(fault), true);
}

void SimulationActions::showFinished(const board::BoardOutcome& outcome)
{
    m_view.showSimulationRunning(false);
    if (m_stoppedForOther) {
        return;
    }
    if (outcome.failure == board::BoardFailure::CompileFailed && outcome.sketchLine > 0) {
        m_view.showPanelLine(outcome.sketchLine);
    }
    if (!m_faulted) {
        m_view.showSignNote(SimulationMessage::ended(outcome), !outcome.ok() && outcome.failure != board::BoardFailure::Cancelled);
    }
}

} // namespace window
