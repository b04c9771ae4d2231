#pragma once

#include "board/board_outcome.h"

#include <QObject>

namespace board {

// The life every board job shares: idle, running, or asked to stop, and one
// outcome at the end, given exactly once and never inside the call that
// started the job, so that a caller's handler always runs after its own
// start() has returned, also for a failure found before anything ran. What
// a job does while it runs is the job's; it owns one of these and passes
// its finished() on.
class JobLife : public QObject {
    Q_OBJECT
public:
    enum class State { Idle, Running, Stopping };
    Q_ENUM(State)

    explicit JobLife(QObject* parent = nullptr);

    // Idle to Running; false, and nothing changes, while a run is under way.
    bool begin();
    // Running to Stopping, the job's cue to drop what still arrives; false
    // when idle.
    bool stop();
    State state() const { return m_state; }
    bool isRunning() const { return m_state != State::Idle; }

    // Ends the run with this outcome: finished() now, back to Idle first so
    // that a handler may start the next run. Does nothing when idle.
    void finish(const BoardOutcome& outcome);
    // The same from the event loop, for an outcome known inside start().
    void finishLater(const BoardOutcome& outcome);
    // Between two stages, after one that went well: when a stop was asked
    // for meanwhile, ends the run as cancelled, with what it knew so far,
    // and says so.
    bool finishIfStopping(const BoardOutcome& sofar);

signals:
    void finished(const board::BoardOutcome& outcome);

private:
    State m_state = State::Idle;
};

} // namespace board
