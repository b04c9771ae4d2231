#pragma once

#include "window/failure_view.h"

#include <QString>

namespace window {

// What trying the panel's sketch on the simulated board sees of the window:
// the panel's text, its cursor, the tools' full output behind 詳細資訊, and
// the failure box of the one guard. What
// the run shows on the sign and under it is the Session's to announce. The
// window implements it.
class SimulationView : public FailureView {
public:
    // The panel's text with CR LF line ends, whatever the widget keeps inside.
    virtual QString panelText() const = 0;
    // Puts the panel's cursor on a line (1-based), where a compiler error is.
    virtual void showPanelLine(int line) = 0;
    // The builder's output and the simulator's for the run that ended, for
    // whoever asks for the details.
    virtual void showRunLog(const QString& log) = 0;

protected:
    ~SimulationView() = default;
};

} // namespace window
