#include "board/process_runner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>

namespace {

using board::ProcessRunner;

QString shell()
{
    return QStringLiteral("/bin/sh");
}

// Whether a process is gone: no longer there, or a zombie nobody has reaped yet.
bool gone(const QString& pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) {
        return true;
    }
    const QByteArray fields = stat.readAll();
    return fields.mid(fields.lastIndexOf(')') + 2, 1) == "Z";
}

bool waitUntilGone(const QString& pid)
{
    for (int waited = 0; waited < 5000; waited += 20) {
        if (gone(pid)) {
            return true;
        }
        QTest::qWait(20);
    }
    return false;
}

// The first line a program writes: the process id of the child it started.
void catchChild(ProcessRunner& runner, QString& child)
{
    QObject::connect(&runner, &ProcessRunner::received, [&child](ProcessRunner::Channel, const QString& text) {
        if (child.isEmpty()) {
            child = text.section(QLatin1Char('\n'), 0, 0);
        }
    });
}

// A character split between two writes, stdout and stderr kept apart, the
// exit code, and the C locale for messages.
TEST(ProcessRunnerTest, DecodesCharactersSplitAcrossReadsAndKeepsTheChannelsApart)
{
    ProcessRunner runner;
    runner.setSeparateChannels(true);
    QSignalSpy received(&runner, &ProcessRunner::received);
    QSignalSpy finished(&runner, &ProcessRunner::finished);
    // 中 is E4 B8 AD: its first two bytes go out alone.
    runner.start(shell(), {QStringLiteral("-c"),
                           QStringLiteral("printf 'a\\344\\270'; sleep 0.3; printf '\\255b\\r\\nlast'; "
                                          "echo \"$LC_ALL\" >&2; exit 3")});
    ASSERT_TRUE(finished.wait(10000));

    QString output;
    QString errors;
    for (const auto& arguments : received) {
        (arguments.at(0).value<ProcessRunner::Channel>() == ProcessRunner::Channel::StandardOutput ? output : errors) +=
            arguments.at(1).toString();
    }
    EXPECT_EQ(output, QStringLiteral("a中b\r\nlast"));
    EXPECT_EQ(errors, QStringLiteral("C.UTF-8\n"));

    ASSERT_EQ(finished.size(), 1);
    const auto result = finished.first().first().value<ProcessRunner::Result>();
    EXPECT_EQ(result.exit, ProcessRunner::Exit::Normal);
    EXPECT_EQ(result.exitCode, 3);
}

// The time limit and cancel end the program and what it started, and each
// run finishes once, also one that never starts, and only after start().
TEST(ProcessRunnerTest, TimeLimitAndCancelEndTheWholeGroupAndEveryRunFinishesOnce)
{
    ProcessRunner runner;
    QSignalSpy finished(&runner, &ProcessRunner::finished);
    QString child;
    catchChild(runner, child);
    const QStringList parentAndChild{QStringLiteral("-c"), QStringLiteral("sleep 60 & echo $!; wait")};

    runner.setTimeLimit(300);
    QElapsedTimer clock;
    clock.start();
    runner.start(shell(), parentAndChild);
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(finished.last().first().value<ProcessRunner::Result>().exit, ProcessRunner::Exit::TimedOut);
    ASSERT_FALSE(child.isEmpty());
    EXPECT_TRUE(waitUntilGone(child)) << "the builder's child outlived it";

    runner.setTimeLimit(0);
    child.clear();
    runner.start(shell(), parentAndChild);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !child.isEmpty(); }, 10000));
    runner.cancel();
    runner.cancel();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(finished.last().first().value<ProcessRunner::Result>().exit, ProcessRunner::Exit::Cancelled);
    EXPECT_TRUE(waitUntilGone(child));

    runner.start(QStringLiteral("/nonexistent/arduino-builder"), {});
    EXPECT_EQ(finished.size(), 2) << "reported inside start()";
    ASSERT_TRUE(finished.wait(10000));
    const auto result = finished.last().first().value<ProcessRunner::Result>();
    EXPECT_EQ(result.exit, ProcessRunner::Exit::FailedToStart);
    EXPECT_FALSE(result.error.isEmpty());

    QTest::qWait(200);
    EXPECT_EQ(finished.size(), 3);

    // A signal nobody here sent is a crash, and says which.
    runner.start(shell(), {QStringLiteral("-c"), QStringLiteral("kill -SEGV $$")});
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(finished.last().first().value<ProcessRunner::Result>().exit, ProcessRunner::Exit::Crashed);
    EXPECT_EQ(finished.last().first().value<ProcessRunner::Result>().signal, SIGSEGV);
}

// A program told to stop is asked first and may say its last words; one
// that will not stop is ended after the grace, with what it started.
TEST(ProcessRunnerTest, StoppingAsksFirstThenEnds)
{
    ProcessRunner runner;
    QSignalSpy finished(&runner, &ProcessRunner::finished);
    QString output;
    QObject::connect(&runner, &ProcessRunner::received,
                     [&output](ProcessRunner::Channel, const QString& text) { output += text; });
    runner.start(shell(), {QStringLiteral("-c"), QStringLiteral("trap 'echo last words; exit 0' TERM; echo up; "
                                                                "sleep 60 & wait")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return output == QStringLiteral("up\n"); }, 10000));
    runner.cancel();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(finished.last().first().value<ProcessRunner::Result>().exit, ProcessRunner::Exit::Cancelled);
    EXPECT_EQ(output, QStringLiteral("up\nlast words\n"));

    // The shell and its sleep both ignore SIGTERM.
    output.clear();
    runner.start(shell(), {QStringLiteral("-c"), QStringLiteral("trap '' TERM; sleep 60 & echo $!; wait")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return output.endsWith(QLatin1Char('\n')); }, 10000));
    const QString child = output.trimmed();
    QElapsedTimer clock;
    clock.start();
    runner.cancel();
    ASSERT_TRUE(finished.wait(10000));
    // Qt's coarse timers may fire up to 5 % early.
    EXPECT_GE(clock.elapsed(), ProcessRunner::kGraceMilliseconds * 9 / 10);
    EXPECT_EQ(finished.last().first().value<ProcessRunner::Result>().exit, ProcessRunner::Exit::Cancelled);
    EXPECT_TRUE(waitUntilGone(child));
}

// A runner that goes while its program runs takes the program's group with
// it, and the process it let go is cleaned up once the program has ended.
TEST(ProcessRunnerTest, GoingWhileRunningEndsTheGroup)
{
    QString child;
    {
        ProcessRunner runner;
        catchChild(runner, child);
        runner.start(shell(), {QStringLiteral("-c"), QStringLiteral("sleep 60 & echo $!; wait")});
        ASSERT_TRUE(QTest::qWaitFor([&] { return !child.isEmpty(); }, 10000));
    }
    EXPECT_TRUE(waitUntilGone(child));
    EXPECT_TRUE(QTest::qWaitFor([] { return QCoreApplication::instance()->findChildren<QProcess*>().isEmpty(); }, 5000));
}

} // namespace
