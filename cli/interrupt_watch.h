#pragma once

#include <QTimer>

#include <functional>

namespace cli {

// Turns SIGINT and SIGTERM into a call on the event loop while it lives:
// the builder and the simulator run in process groups of their own, out of
// reach of the terminal's Ctrl-C, so an interrupt has to end them through
// the job that runs them. What ending means is the caller's.
class InterruptWatch {
public:
    explicit InterruptWatch(std::function<void()> onInterrupt);

private:
    QTimer m_timer;
};

} // namespace cli
