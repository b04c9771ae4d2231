#include "board/process_runner.h"

#include <QCoreApplication>
#include <QMetaMethod>
#include <QProcess>
#include <QProcessEnvironment>

#include <algorithm>
#include <csignal>
#include <unistd.h>
#include <utility>

namespace board {

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
        stopGroup();
        release();
    }
}

void ProcessRunner::setSeparateChannels(bool separate)
{
    m_separate = separate;
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
    for (Stream* stream : {&m_output, &m_errors}) {
        stream->decoder.resetState();
        stream->partialLine.clear();
    }

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
    m_process->setChildProcessModifier([] { ::setpgid(0, 0); });

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
    if (m_process == nullptr || m_stoppedAs || m_pausedTimeLeft) {
        return;
    }
    const qint64 pid = m_process->processId();
    if (pid <= 0) {
        return;
    }
    ::kill(-static_cast<pid_t>(pid), SIGSTOP);
    m_pausedTimeLeft = m_timer.isActive() ? std::max(1, m_timer.remainingTime()) : 0;
    m_timer.stop();
}

void ProcessRunner::resume()
{
    if (m_process == nullptr || !m_pausedTimeLeft) {
        return;
    }
    if (const qint64 pid = m_process->processId(); pid > 0) {
        ::kill(-static_cast<pid_t>(pid), SIGCONT);
    }
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
    stopGroup();
}

void ProcessRunner::stopGroup()
{
    // A builder runs the compilers as children of its own; ending only the
    // builder would leave them writing into a build folder the next run
    // uses. The program leads a group of its own, so the group goes.
    if (const qint64 pid = m_process->processId(); pid > 0) {
        // A held group is let go on first, so that nothing of it stays
        // stopped however it is ended.
        if (m_pausedTimeLeft) {
            ::kill(-static_cast<pid_t>(pid), SIGCONT);
        }
        ::kill(-static_cast<pid_t>(pid), SIGKILL);
    }
    m_pausedTimeLeft.reset();
    m_process->kill();
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
}

ProcessRunner::Stream& ProcessRunner::stream(Channel channel)
{
    return channel == Channel::StandardOutput ? m_output : m_errors;
}

void ProcessRunner::read(Channel channel)
{
    const QByteArray bytes = channel == Channel::StandardOutput ? m_process->readAllStandardOutput()
                                                                 : m_process->readAllStandardError();
    if (!bytes.isEmpty()) {
        pass(channel, stream(channel).decoder.decode(bytes));
    }
}

void ProcessRunner::pass(Channel channel, const QString& text)
{
    if (text.isEmpty()) {
        return;
    }
    emit received(channel, text);
    // Lines are cut only for a listener that wants them; the simulator's
    // frames, thousands a second, are read by a parser of their own.
    static const QMetaMethod lineSignal = QMetaMethod::fromSignal(&ProcessRunner::lineReceived);
    if (!isSignalConnected(lineSignal)) {
        return;
    }
    Stream& lines = stream(channel);
    qsizetype from = 0;
    for (qsizetype end = text.indexOf(QLatin1Char('\n')); end >= 0; end = text.indexOf(QLatin1Char('\n'), from)) {
        QString line = std::exchange(lines.partialLine, QString());
        line += QStringView(text).sliced(from, end - from);
        if (line.endsWith(QLatin1Char('\r'))) {
            line.chop(1);
        }
        emit lineReceived(channel, line);
        from = end + 1;
    }
    lines.partialLine += QStringView(text).sliced(from);
}

void ProcessRunner::flush(Channel channel)
{
    Stream& lines = stream(channel);
    if (!lines.partialLine.isEmpty()) {
        emit lineReceived(channel, std::exchange(lines.partialLine, QString()));
    }
}

void ProcessRunner::onFinished(int exitCode, bool crashed)
{
    for (Channel channel : {Channel::StandardOutput, Channel::StandardError}) {
        // Merged, standard error has nothing of its own to read (and Qt
        // warns when asked).
        if (channel == Channel::StandardOutput || m_separate) {
            read(channel);
            flush(channel);
        }
    }
    Result result;
    if (m_stoppedAs) {
        result.exit = *m_stoppedAs;
    } else if (crashed) {
        result.exit = Exit::Crashed;
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
