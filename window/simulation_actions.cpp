#include "window/simulation_actions.h"

#include "board/board_tools.h"
#include "generation/sketch_error.h"
#include "platform/text_conversion.h"
#include "window/session.h"
#include "window/simulation_view.h"

#include <cerrno>

namespace window {

SimulationActions::SimulationActions(Session& session, SimulationView& view, QObject* parent)
    : QObject(parent)
    , m_session(session)
    , m_view(view)
    , m_guard(view)
{
    connect(&m_job, &board::SimulationJob::compiled, &m_session, &Session::simulationCompiled);
    connect(&m_job, &board::SimulationJob::wiringRecognised, &m_session, &Session::simulationWiring);
    connect(&m_job, &board::SimulationJob::stillDark, &m_session, &Session::simulationStillDark);
    connect(&m_job, &board::SimulationJob::lightChanged, &m_session,
            [this](const simulator::SimulatorOutput::Light& light) { m_session.simulationLight(light.levels); });
    connect(&m_job, &board::SimulationJob::faulted, &m_session, &Session::simulationFaulted);
    connect(&m_job, &board::SimulationJob::finished, this, &SimulationActions::showFinished);
    // The sign is given something else to show: the run ends.
    connect(&m_session, &Session::panelReplaced, this, [this] { m_job.cancel(); });
}

void SimulationActions::toggle()
{
    if (m_job.isRunning()) {
        m_job.cancel();
    } else {
        m_guard.run([this] { start(); });
    }
}

void SimulationActions::togglePause()
{
    if (m_session.board() == Session::Board::Running) {
        m_job.pause();
        m_session.simulationPaused();
    } else if (m_session.board() == Session::Board::Paused) {
        m_job.resume();
        m_session.simulationResumed();
    }
}

void SimulationActions::start()
{
    const QString text = m_view.panelText();
    if (m_session.panelAwaitsGenerate(text)) {
        m_session.simulationRefused();
        return;
    }
    if (board::BoardTools::simulatorProgram().isEmpty()) {
        const QString path = board::BoardTools::simulatorPath();
        throw generation::SketchError(generation::SketchError::kPathNotFound,
                                      platform::toUtf8(QStringLiteral("Path not found: the simulator %1").arg(path)),
                                      ENOENT, platform::toUtf8(path));
    }
    board::SimulationJob::Request request;
    request.pace = board::SimulationJob::Pace::RealTime;
    request.light = true;
    m_job.start(text, request);
    m_session.simulationStarted();
}

void SimulationActions::showFinished(const board::BoardOutcome& outcome)
{
    // The line is the text's as it was at the click.
    if (outcome.failure == board::BoardFailure::CompileFailed && outcome.sketchLine > 0 && m_session.runIsThePanels()) {
        m_view.showPanelLine(outcome.sketchLine);
    }
    m_view.showRunLog(outcome.log);
    m_session.simulationFinished(outcome);
}

} // namespace window
