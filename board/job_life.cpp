#include "board/job_life.h"

#include <QTimer>

namespace board {

JobLife::JobLife(QObject* parent) : QObject(parent)
{
    qRegisterMetaType<board::BoardOutcome>();
}

bool JobLife::begin()
{
    if (m_state != State::Idle) {
        return false;
    }
    m_state = State::Running;
    return true;
}

bool JobLife::stop()
{
    if (m_state == State::Idle) {
        return false;
    }
    m_state = State::Stopping;
    return true;
}

void JobLife::finish(const BoardOutcome& outcome)
{
    if (m_state == State::Idle) {
        return;
    }
    m_state = State::Idle;
    emit finished(outcome);
}

bool JobLife::finishIfStopping(const BoardOutcome& sofar)
{
    if (m_state != State::Stopping) {
        return false;
    }
    BoardOutcome cancelled = sofar;
    cancelled.failure = BoardFailure::Cancelled;
    cancelled.detail = QStringLiteral("stopped before the next stage");
    finish(cancelled);
    return true;
}

void JobLife::finishLater(const BoardOutcome& outcome)
{
    QTimer::singleShot(0, this, [this, outcome] { finish(outcome); });
}

} // namespace board
