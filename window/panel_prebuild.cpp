#include "window/panel_prebuild.h"

#include "board/preflight.h"
#include "window/session.h"
#include "window/simulation_view.h"

namespace window {

PanelPrebuild::PanelPrebuild(Session& session, const SimulationView& view, QObject* parent)
    : QObject(parent)
    , m_session(session)
    , m_view(view)
{
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(kQuietMilliseconds);
    m_compiler.setLowPriority(true);
    connect(&m_quiet, &QTimer::timeout, this, &PanelPrebuild::onQuiet);
    connect(&m_compiler, &board::SketchCompiler::finished, this, &PanelPrebuild::onCompiled);
    connect(&session, &Session::panelReplaced, this, &PanelPrebuild::onPanelReplaced);
    connect(&session, &Session::panelEdited, this, &PanelPrebuild::onPanelEdited);
}

void PanelPrebuild::setQuietTime(int milliseconds)
{
    m_quiet.setInterval(milliseconds);
}

void PanelPrebuild::onPanelReplaced()
{
    // The build of the sketch before is of no use any more. The state
    // changes first, so that the end of that build is not taken for one.
    m_quiet.start();
    m_state = State::Quiet;
    m_compiler.cancel();
}

void PanelPrebuild::onPanelEdited()
{
    // An edit while the panel is waiting to be still is looked at when the
    // wait is over: the panel taking a new sketch passes through an edit
    // undone at once, and an edit undone within the wait leaves the sketch
    // as given.
    if (m_state != State::Compiling || !m_session.sketch().edited) {
        return;
    }
    m_state = State::Idle;
    m_compiler.cancel();
}

void PanelPrebuild::onQuiet()
{
    // A build stopped a moment ago is still ending; this one starts when it
    // has (onCompiled).
    if (m_compiler.isRunning()) {
        return;
    }
    // Only the sketch as given is built; without the tools nothing is, and
    // a click says why.
    if (m_session.sketch().edited || !board::Preflight::forCompile().ok()) {
        m_state = State::Idle;
        return;
    }
    m_state = State::Compiling;
    m_compiler.compile(m_view.panelText());
}

void PanelPrebuild::onCompiled(const board::BoardOutcome& outcome)
{
    if (m_state == State::Compiling) {
        m_state = State::Idle;
        emit built(outcome);
    } else if (m_state == State::Quiet && !m_quiet.isActive()) {
        onQuiet();
    }
}

} // namespace window
