#include "cli/simulation_progress.h"

#include "cli/error_line.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace cli {

namespace {

// The line is rewritten at most this often.
constexpr qint64 kRedrawMilliseconds = 250;

QString duration(double seconds)
{
    const auto whole = static_cast<long long>(std::ceil(seconds));
    if (whole < 60) {
        return QStringLiteral("%1 s").arg(whole);
    }
    return QStringLiteral("%1 min %2 s").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

SimulationProgress::SimulationProgress(double seconds)
    : m_terminal(stderrIsTerminal())
    , m_seconds(seconds)
{
}

void SimulationProgress::start()
{
    m_clock.start();
}

void SimulationProgress::show(std::uint64_t microseconds)
{
    if (!m_terminal || !m_clock.isValid()) {
        return;
    }
    const qint64 elapsed = m_clock.elapsed();
    if (elapsed < kQuietMilliseconds || (m_shownAt >= 0 && elapsed - m_shownAt < kRedrawMilliseconds)) {
        return;
    }
    m_shownAt = elapsed;
    const double simulated = std::min(double(microseconds) / 1e6, m_seconds);
    QString line = QStringLiteral("simulated %1 s of %2 s").arg(simulated, 0, 'f', 1).arg(m_seconds);
    if (simulated > 0 && simulated < m_seconds) {
        const double left = double(elapsed) / 1000 * (m_seconds - simulated) / simulated;
        line += QStringLiteral(", about %1 left").arg(duration(left));
    }
    // Back to the start of the line, and whatever the last one left there goes.
    std::fprintf(stderr, "\r%s\x1b[K", line.toUtf8().constData());
    std::fflush(stderr);
}

void SimulationProgress::end()
{
    if (m_shownAt >= 0) {
        std::fputs("\n", stderr);
        m_shownAt = -1;
    }
}

} // namespace cli
