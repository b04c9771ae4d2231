#include "board/process_runner.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using board::ProcessRunner;

// The state letter of a process in /proc (R, S, T for stopped, Z), or none
// once it is gone.
char stateOf(const QString& pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) {
        return '\0';
    }
    const QByteArray fields = stat.readAll();
    return fields.at(fields.lastIndexOf(')') + 2);
}

// A held program is stopped where it is and goes on when let go; held and
// then cancelled, it is let go on first, so that it hears the request and
// says its last words, and it is reaped.
TEST(ProcessRunnerPauseTest, HoldsTheProgramAndLetsItEndWhenCancelledHeld)
{
    ProcessRunner runner;
    QString output;
    QObject::connect(&runner, &ProcessRunner::received,
                     [&output](ProcessRunner::Channel, const QString& text) { output += text; });
    QSignalSpy finished(&runner, &ProcessRunner::finished);
    runner.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("trap 'echo last words; exit 0' TERM; "
                                                                                  "echo $$; sleep 60 & wait")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return output.endsWith(QLatin1Char('\n')); }, 10000));
    const QString pid = output.trimmed();

    runner.pause();
    EXPECT_TRUE(runner.isPaused());
    EXPECT_TRUE(QTest::qWaitFor([&] { return stateOf(pid) == 'T'; }, 5000)) << stateOf(pid);
    runner.resume();
    EXPECT_TRUE(QTest::qWaitFor([&] { return stateOf(pid) == 'S'; }, 5000)) << stateOf(pid);

    runner.pause();
    ASSERT_TRUE(QTest::qWaitFor([&] { return stateOf(pid) == 'T'; }, 5000)) << stateOf(pid);
    runner.cancel();
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_EQ(finished.first().at(0).value<ProcessRunner::Result>().exit, ProcessRunner::Exit::Cancelled);
    EXPECT_TRUE(output.endsWith(QStringLiteral("last words\n"))) << output.toStdString();
    EXPECT_FALSE(runner.isPaused());
    EXPECT_TRUE(QTest::qWaitFor([&] { return stateOf(pid) == '\0'; }, 5000)) << "left as " << stateOf(pid);
}

} // namespace
