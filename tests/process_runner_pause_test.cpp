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

// A held program is stopped where it is, goes on when let go, and a held
// program that is cancelled still ends and is reaped.
TEST(ProcessRunnerPauseTest, HoldsTheProgramAndEndsItCleanlyWhenCancelledHeld)
{
    ProcessRunner runner;
    QSignalSpy received(&runner, &ProcessRunner::received);
    QSignalSpy finished(&runner, &ProcessRunner::finished);
    runner.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("echo $$; exec sleep 30")});
    ASSERT_TRUE(received.wait(10000));
    const QString pid = received.first().at(1).toString().trimmed();

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
    EXPECT_FALSE(runner.isPaused());
    EXPECT_TRUE(QTest::qWaitFor([&] { return stateOf(pid) == '\0'; }, 5000)) << "left as " << stateOf(pid);
}

} // namespace
