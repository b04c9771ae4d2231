#pragma once

#include "simulator/simulator_output.h"
#include "window/failure_view.h"

#include <QString>

namespace window {

// What trying the panel's sketch on the simulated board may see of the
// window: the panel's text, the sign, the note under it, the memory line and
// the button that starts and stops the run, and the failure box of the one
// guard. The window implements it.
class SimulationView : public FailureView {
public:
    // The panel's text with CR LF line ends, whatever the widget keeps inside.
    virtual QString panelText() const = 0;
    // The button reads as a stop button while a run goes on.
    virtual void showSimulationRunning(bool running) = 0;
    // The simulated board's LEDs, each at its brightness, on the sign preview.
    virtual void showSimulatedSign(const simulator::SimulatorOutput::Levels& levels) = 0;
    // The line under the sign; a problem is shown as one.
    virtual void showSignNote(const QString& text, bool problem) = 0;
    // The toolchain's own figures for the sketch just built.
    virtual void showMeasuredMemory(int flashBytes, int sramBytes) = 0;
    // Puts the panel's cursor on a line (1-based), where a compiler error is.
    virtual void showPanelLine(int line) = 0;

protected:
    ~SimulationView() = default;
};

} // namespace window
