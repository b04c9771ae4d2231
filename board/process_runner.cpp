#include "board/process_runner.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace board {

namespace {

// The niceness of a program run at low priority: it yields to the user's
// other work, yet is not starved when the machine is merely busy.
constexpr int kLowPriorityNiceness = 10;

// A builder runs the compilers as children of its own; ending only the
// builder would leave them writing into a build folder the next run uses.
// The program leads a group of its own, so the group is signalled.
void signalGroup(QProcess* process, int signal)
{
    if (const qint64 pid = process->processId(); pid > 0) {
        ::kill(-static_cast<pid_t>(pid), signal);
    }
}

// Names the timer that ends a process after its grace, so that a process
// given the grace again has its one timer started afresh.
const QString kGraceName = QStringLiteral("grace");

// Ends the process, with its group, if it has not ended by itself once the
// grace is over. The timer goes with the process, so it never signals a
// group that has ended and been reaped.
void endAfterGrace(QProcess* process)
{
    auto* grace = process->findChild<QTimer*>(kGraceName, Qt::FindDirectChildrenOnly);
    if (grace == nullptr) {
        grace = new QTimer(process);
        grace->setObjectName(kGraceName);
        grace->setSingleShot(true);
        QObject::connect(grace, &QTimer::timeout, process, [process] {
            signalGroup(process, SIGKILL);
            process->kill();
        });
    }
    grace->start(ProcessRunner::kGraceMilliseconds);
}

} // namespace

ProcessRunner::ProcessRunner(QObject* parent) : QObject(parent)
{
    qRegisterMetaType<board::ProcessRunner::Result>();
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] { stop(Exit::TimedOut); });
}

ProcessRunner::~ProcessRunner()
{
    if (m_process != nullptr) {
        m_process->disconnect(this);
        askToEnd();
        release();
    }
}

void ProcessRunner::setSeparateChannels(bool separate)
{
    m_separate = separate;
}

void ProcessRunner::setLowPriority(bool low)
{
    m_lowPriority = low;
}

void ProcessRunner::setTimeLimit(int milliseconds)
{
    m_timeLimit = milliseconds;
    if (m_process == nullptr || m_stoppedAs) {
        return;
    }
    if (milliseconds > 0) {
        m_timer.start(milliseconds);
    } else {
        m_timer.stop();
    }
}

bool ProcessRunner::isRunning() const
{
    return m_process != nullptr;
}

void ProcessRunner::start(const QString& program, const QStringList& arguments)
{
    if (m_process != nullptr) {
        return;
    }
    m_stoppedAs.reset();
    m_pausedTimeLeft.reset();
    m_output.resetState();
    m_errors.resetState();

    m_process = new QProcess(this);
    m_process->setProcessChannelMode(m_separate ? QProcess::SeparateChannels : QProcess::MergedChannels);
    // Messages in English whatever the user's language, so that what the
    // callers look for ("error:", "verified") is there to find; the
    // character set stays UTF-8, so a sketch's Chinese text quoted in a
    // message comes through as it was written. LANGUAGE would override the
    // messages' language for GNU programs, so it goes.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    environment.remove(QStringLiteral("LANGUAGE"));
    m_process->setProcessEnvironment(environment);
    // The niceness is set in the child before it runs the program, so the
    // program and all it starts inherit it; no process of the group ever
    // runs at normal priority.
    m_process->setChildProcessModifier([low = m_lowPriority] {
        ::setpgid(0, 0);
        if (low) {
            ::setpriority(PRIO_PROCESS, 0, kLowPriorityNiceness);
        }
    });

    connect(m_process, &QProcess::readyReadStandardOutput, this, [this] { read(Channel::StandardOutput); });
    connect(m_process, &QProcess::readyReadStandardError, this, [this] { read(Channel::StandardError); });
    connect(m_process, &QProcess::finished, this,
            [this](int exitCode, QProcess::ExitStatus status) { onFinished(exitCode, status == QProcess::CrashExit); });
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) {
            return;
        }
        // QProcess may say so inside start(); the caller hears it after.
        Result result;
        result.exit = Exit::FailedToStart;
        result.error = m_process->errorString();
        m_process->disconnect(this);
        QMetaObject::invokeMethod(this, [this, result] { finish(result); }, Qt::QueuedConnection);
    });

    if (m_timeLimit > 0) {
        m_timer.start(m_timeLimit);
    }
    m_process->start(program, arguments);
}

void ProcessRunner::cancel()
{
    stop(Exit::Cancelled);
}

void ProcessRunner::pause()
{
    if (m_process == nullptr || m_stoppedAs || m_pausedTimeLeft || m_process->processId() <= 0) {
        return;
    }
    signalGroup(m_process, SIGSTOP);
    m_pausedTimeLeft = m_timer.isActive() ? std::max(1, m_timer.remainingTime()) : 0;
    m_timer.stop();
}

void ProcessRunner::resume()
{
    if (m_process == nullptr || !m_pausedTimeLeft) {
        return;
    }
    signalGroup(m_process, SIGCONT);
    if (*m_pausedTimeLeft > 0) {
        m_timer.start(*m_pausedTimeLeft);
    }
    m_pausedTimeLeft.reset();
}

void ProcessRunner::stop(Exit reason)
{
    if (m_process == nullptr || m_stoppedAs) {
        return;
    }
    m_stoppedAs = reason;
    m_timer.stop();
    // Asked first, the simulator writes its last line and the builder
    // ends its compilers; whatever does not end by itself is ended.
    askToEnd();
    endAfterGrace(m_process);
}

void ProcessRunner::askToEnd()
{
    // A held group is let go on first: stopped, it could not hear the
    // request, nor end by itself.
    if (m_pausedTimeLeft) {
        signalGroup(m_process, SIGCONT);
        m_pausedTimeLeft.reset();
    }
    signalGroup(m_process, SIGTERM);
}

void ProcessRunner::release()
{
    // QProcess waits for its program when deleted while it runs; this one
    // was told to stop and deletes itself once the system says it has. Until
    // then the application holds it, so that it is not lost if the
    // application ends first.
    QProcess* process = m_process;
    m_process = nullptr;
    if (process->state() == QProcess::NotRunning) {
        delete process;
        return;
    }
    QCoreApplication* application = QCoreApplication::instance();
    process->setParent(application != nullptr && application->thread() == process->thread() ? application : nullptr);
    connect(process, &QProcess::finished, process, &QObject::deleteLater);
    connect(process, &QProcess::errorOccurred, process, &QObject::deleteLater);
    endAfterGrace(process);
}

QStringDecoder& ProcessRunner::decoder(Channel channel)
{
    return channel == Channel::StandardOutput ? m_output : m_errors;
}

void ProcessRunner::read(Channel channel)
{
    const QByteArray bytes = channel == Channel::StandardOutput ? m_process->readAllStandardOutput()
                                                                 : m_process->readAllStandardError();
    if (bytes.isEmpty()) {
        return;
    }
    if (const QString text = decoder(channel).decode(bytes); !text.isEmpty()) {
        emit received(channel, text);
    }
}

void ProcessRunner::onFinished(int exitCode, bool crashed)
{
    for (Channel channel : {Channel::StandardOutput, Channel::StandardError}) {
        // Merged, standard error has nothing of its own to read (and Qt
        // warns when asked).
        if (channel == Channel::StandardOutput || m_separate) {
            read(channel);
        }
    }
    Result result;
    if (m_stoppedAs) {
        result.exit = *m_stoppedAs;
    } else if (crashed) {
        // Qt gives the signal as the exit code of a crash.
        result.exit = Exit::Crashed;
        result.signal = exitCode;
    } else {
        result.exitCode = exitCode;
    }
    finish(result);
}

void ProcessRunner::finish(Result result)
{
    if (m_process == nullptr) {
        return;
    }
    m_timer.stop();
    m_pausedTimeLeft.reset();
    m_process->disconnect(this);
    m_process->deleteLater();
    m_process = nullptr;
    emit finished(result);
}

} // namespace board
