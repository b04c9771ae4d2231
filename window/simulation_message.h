#pragma once

#include "board/board_outcome.h"
#include "simulator/simulator_output.h"

#include <QCoreApplication>
#include <QString>

#include <cstdint>

namespace window {

// Words what the simulated board did with the panel's sketch for the line
// under the sign, in plain Traditional Chinese: that it runs and on which
// wiring, a fault of the sketch and what may have caused it, and how a run
// ended. Finding out what happened is the board layer's.
class SimulationMessage {
    Q_DECLARE_TR_FUNCTIONS(window::SimulationMessage)

public:
    static QString compiling();
    static QString running();
    static QString running(const simulator::SimulatorOutput::Wiring& wiring);
    // The sketch runs but has not scanned the sign yet, this long after it started.
    static QString stillDark(std::uint64_t microseconds);
    static QString fault(const simulator::SimulatorOutput::Fault& fault);
    // How a run that ended without a fault of the sketch ended: each way
    // the simulator or the build before it can end.
    static QString ended(const board::BoardOutcome& outcome);

private:
    static QString compileFailed(const board::BoardOutcome& outcome);
};

} // namespace window
