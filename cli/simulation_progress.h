#pragma once

#include <QElapsedTimer>

#include <cstdint>

namespace cli {

// Shows on standard error how far a --simulate run has come, when standard
// error is a terminal and the run has taken a few seconds: the simulated
// seconds out of the whole and an estimate of the time left, on one line
// that it rewrites. On anything else it shows nothing, so that a log of
// standard error or the frames on standard output stay clean. Running the
// simulation is the command's.
class SimulationProgress {
public:
    // Runs shorter than this, in real time, show nothing.
    static constexpr qint64 kQuietMilliseconds = 2000;

    explicit SimulationProgress(double seconds);

    // The simulated board starts: the time left is reckoned from here.
    void start();
    // The run has come this far in simulated time.
    void show(std::uint64_t microseconds);
    // Ends the line, if one was shown, so that what follows starts afresh.
    void end();

private:
    bool m_terminal;
    double m_seconds;
    QElapsedTimer m_clock;
    qint64 m_shownAt = -1;
};

} // namespace cli
