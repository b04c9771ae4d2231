// The window while the simulate button runs the panel's sketch live on the
// sign preview: how long the click takes to the first simulated picture
// (with a warm build cache), how much of a core the window process takes
// while the sign plays (the simulator's own process is counted apart), and
// whether the preview repaints only when its picture changes. Run under a
// real X server (bench/simulate-figures starts one with xvfb-run).
#include "platform/executable_folder.h"
#include "platform/face_substitutions.h"
#include "window/form1.h"
#include "window/sign_preview.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The processor time of this process's children that are still running
// (the simulator), from /proc.
double childrenCpuSeconds()
{
    double total = 0;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly)) {
            continue;
        }
        const QList<QByteArray> fields = stat.readAll().split(')').value(1).split(' ');
        if (fields.value(2).toInt() == getpid()) {
            total += double(fields.value(12).toLongLong() + fields.value(13).toLongLong()) / double(sysconf(_SC_CLK_TCK));
        }
    }
    return total;
}

// Counts the preview's paintings and those that showed the picture the
// painting before had shown.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(window::SignPreview* preview) : m_preview(preview) { preview->installEventFilter(this); }

    int paints = 0;
    int unchanged = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints;
            if (paints > 1 && m_preview->levels() == m_last) {
                ++unchanged;
            }
            m_last = m_preview->levels();
        }
        return false;
    }

private:
    window::SignPreview* m_preview;
    simulator::SimulatorOutput::Levels m_last{};
};

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    platform::installFaceSubstitutions();
    window::Form1 form(platform::executableFolder());
    form.show();
    QTest::qWait(500);
    const char* env = std::getenv("LIVE_BENCH_SECONDS");
    const int seconds = env != nullptr ? std::atoi(env) : 20;
    auto* generate = form.findChild<QAbstractButton*>(QStringLiteral("Command1"));
    auto* simulate = form.findChild<QAbstractButton*>(QStringLiteral("simulate"));
    auto* preview = form.findChild<window::SignPreview*>(QStringLiteral("preview"));
    generate->click();
    QTest::qWait(300);

    // The sign goes dark at the click; the first simulated picture is the
    // title lighting up. The first click compiles the core into an empty
    // cache; the runs after it are timed.
    const auto lit = [preview] {
        const auto& levels = preview->levels();
        return preview->live() && std::any_of(levels.begin(), levels.end(), [](auto level) { return level > 0; });
    };
    std::vector<double> firstPicture;
    for (int run = 0; run < 4; ++run) {
        QElapsedTimer clock;
        clock.start();
        simulate->click();
        while (!lit() && clock.elapsed() < 300000) {
            QTest::qWait(1);
        }
        if (run > 0) {
            firstPicture.push_back(double(clock.nsecsElapsed()) / 1e9);
        }
        generate->click(); // ends the run
        QTest::qWait(300);
    }
    std::sort(firstPicture.begin(), firstPicture.end());
    std::printf("click to first simulated picture, warm cache: %.2f s (median of 3; %.2f, %.2f, %.2f)\n",
                firstPicture[1], firstPicture[0], firstPicture[1], firstPicture[2]);

    simulate->click();
    while (!lit()) {
        QTest::qWait(5);
    }
    PaintCounter counter(preview);
    QElapsedTimer wall;
    wall.start();
    const double before = cpuSeconds();
    const double childBefore = childrenCpuSeconds();
    QTest::qWait(seconds * 1000);
    const double used = cpuSeconds() - before;
    const double childUsed = childrenCpuSeconds() - childBefore;
    const double elapsed = double(wall.nsecsElapsed()) / 1e9;
    std::printf("live sign: window %5.2f%% of a core (%.2f s CPU in %.1f s); the simulator %5.2f%% of a core\n",
                100.0 * used / elapsed, used, elapsed, 100.0 * childUsed / elapsed);
    std::printf("live sign: %d repaints in %.1f s, %d of them of an unchanged picture\n", counter.paints, elapsed,
                counter.unchanged);
    generate->click();
    QTest::qWait(200);
    return 0;
}
