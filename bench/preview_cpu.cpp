// How much of a core the window's sign preview takes while it plays: once
// while the picture holds (an empty title and message: every frame dark)
// and once while a long message scrolls. Run under a real X server
// (bench/preview_cpu.sh starts one with xvfb-run); prints one line per case.
#include "platform/executable_folder.h"
#include "platform/face_substitutions.h"
#include "window/form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void measure(window::Form1& form, const char* name, const QString& title, const QString& message, int settleMs,
             int seconds)
{
    form.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(title);
    form.findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(message);
    form.findChild<QAbstractButton*>(QStringLiteral("Command1"))->click();
    QTest::qWait(settleMs);
    QElapsedTimer wall;
    wall.start();
    const double before = cpuSeconds();
    QTest::qWait(seconds * 1000);
    const double used = cpuSeconds() - before;
    std::printf("preview %-8s %5.2f%% of a core (%.2f s CPU in %.1f s)\n", name,
                100.0 * used / (double(wall.nsecsElapsed()) / 1e9), used, double(wall.nsecsElapsed()) / 1e9);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    platform::installFaceSubstitutions();
    window::Form1 form(platform::executableFolder());
    form.show();
    QTest::qWait(500);
    const char* env = std::getenv("PREVIEW_BENCH_SECONDS");
    const int seconds = env != nullptr ? std::atoi(env) : 20;
    measure(form, "holds", QString(), QString(), 500, seconds);
    // The title's blinks and roll-up take 4.2 s; then the message scrolls
    // for well over a minute.
    measure(form, "scrolls", QStringLiteral("標題"), QString(200, QChar(u'測')), 4500, seconds);
    return 0;
}
