#include "cli/interrupt_watch.h"

#include <csignal>

namespace cli {

namespace {

volatile std::sig_atomic_t interrupted = 0;

void onSignal(int)
{
    interrupted = 1;
}

} // namespace

InterruptWatch::InterruptWatch(std::function<void()> onInterrupt)
{
    // A signal handler may only set a flag; the flag is looked at ten
    // times a second.
    interrupted = 0;
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    QObject::connect(&m_timer, &QTimer::timeout, [call = std::move(onInterrupt)] {
        if (interrupted != 0) {
            call();
        }
    });
    m_timer.start(100);
}

} // namespace cli
