#pragma once

#include "board/simulation_job.h"
#include "window/action_guard.h"

#include <QObject>

namespace window {

class Session;
class SimulationView;

// What the button that tries the panel's sketch on the simulated board does:
// it compiles the panel's text as it is at the click, with the compiler an
// upload uses, and runs it on the simulated Mega in step with the clock,
// telling the Session what the board lights, which wiring it drives, any
// fault and the build's own memory figures. A second click ends the run, a
// click or Space on the live sign holds it and lets it go on, and a sketch
// given to the panel (a generate, the wiring test) or closing the window
// ends it. The work runs in the board layer's processes, so the window never
// waits on it, and nothing the sketch does can stop the window. What the
// sign and the note show of it is the Session's. Starting runs under the
// window's one ActionGuard.
class SimulationActions : public QObject {
    Q_OBJECT

public:
    SimulationActions(Session& session, SimulationView& view, QObject* parent = nullptr);

    // The button: starts a run, or ends the one going on.
    void toggle();
    // Holds the live board where it is, or lets it go on.
    void togglePause();

private:
    void start();
    void showFinished(const board::BoardOutcome& outcome);

    Session& m_session;
    SimulationView& m_view;
    ActionGuard m_guard;
    board::SimulationJob m_job;
};

} // namespace window
