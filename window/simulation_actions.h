#pragma once

#include "board/simulation_job.h"
#include "window/action_guard.h"

#include <QObject>

namespace window {

class SimulationView;

// What the button that tries the panel's sketch on the simulated board does:
// it compiles the panel's text as it is at the click, with the compiler an
// upload uses, and runs it on the simulated Mega in step with the clock,
// showing the LEDs live on the sign, the wiring and any fault under it, and
// the build's own memory figures. A second click, a generate or closing the
// window ends the run. The work runs in the board layer's processes, so the
// window never waits on it, and nothing the sketch does can stop the window.
// Starting runs under the window's one ActionGuard.
class SimulationActions : public QObject {
    Q_OBJECT

public:
    explicit SimulationActions(SimulationView& view, QObject* parent = nullptr);

    // The button: starts a run, or ends the one going on and says so.
    void toggle();
    // Ends the run going on, if any, for the sign to show something else;
    // what it shows next says its own note.
    void stop();
    bool isRunning() const { return m_job.isRunning(); }

private:
    void start();
    void showCompiled(const board::BoardOutcome& outcome);
    void showFault(const simulator::SimulatorOutput::Fault& fault);
    void showFinished(const board::BoardOutcome& outcome);

    SimulationView& m_view;
    ActionGuard m_guard;
    board::SimulationJob m_job;
    bool m_faulted = false;
    bool m_stoppedForOther = false;
};

} // namespace window
