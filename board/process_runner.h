#pragma once

#include <QMetaType>
#include <QObject>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <QTimer>

#include <optional>

class QProcess;

namespace board {

// Runs one external program for the board layer and lives its whole life:
// it starts the program in a process group of its own (so the compilers a
// builder starts end with it), holds it to a time limit if it is given one,
// stops it on request, hands its output on as decoded text as it arrives,
// and reports how it ended exactly once, after start() has returned, also
// when the program could not be started at all. A program it stops is
// asked first (SIGTERM), so that it can say its last words, and ended
// (SIGKILL) after a short grace. It can also hold a program where it is and
// let it go on. It can run a program at low priority, for work nobody waits
// for yet. Every program runs with
// the C locale for its messages, so they read the same on every machine,
// while UTF-8 text passes through. What the output means is the caller's
// business.
class ProcessRunner : public QObject {
    Q_OBJECT
public:
    enum class Channel { StandardOutput, StandardError };
    Q_ENUM(Channel)
    enum class Exit {
        Normal,       // the program ended by itself; exitCode says how
        Crashed,      // a signal nobody here sent ended it
        TimedOut,     // it ran past its time limit and was stopped
        Cancelled,    // cancel() stopped it
        FailedToStart // it never ran; error says why
    };
    Q_ENUM(Exit)

    struct Result {
        Exit exit = Exit::Normal;
        int exitCode = -1; // for Exit::Normal
        int signal = 0;    // for Exit::Crashed: the signal that ended it
        QString error;     // for Exit::FailedToStart
    };

    // How long a program told to stop has to end by itself.
    static constexpr int kGraceMilliseconds = 1000;

    explicit ProcessRunner(QObject* parent = nullptr);
    // Stops a program still running, with its whole group, without waiting
    // for it and without reporting.
    ~ProcessRunner() override;

    // Standard error arrives with standard output (the default) or apart.
    void setSeparateChannels(bool separate);
    // Stops the program this long from now, or from its start when it is
    // not running yet; 0 lifts the limit. Called while it runs, it sets the
    // limit afresh, as for a program that must keep showing signs of life.
    void setTimeLimit(int milliseconds);
    // Runs the programs started from now on, and every process they start,
    // at low priority (niced), so that they take only the processor time
    // nothing else wants.
    void setLowPriority(bool low);

    // Does nothing while a program is running.
    void start(const QString& program, const QStringList& arguments);
    // Stops the program and its group; finished() follows with Cancelled,
    // once the program has ended.
    void cancel();
    bool isRunning() const;
    // Holds the program's whole group where it is (SIGSTOP), so that it
    // uses no processor time, and lets it go on (SIGCONT); the time limit
    // waits meanwhile. Each does nothing unless the program runs and is not
    // already so. A held program that is stopped is let go on to end.
    void pause();
    void resume();
    bool isPaused() const { return m_pausedTimeLeft.has_value(); }

signals:
    // Text as it arrives; a character split between two reads arrives whole
    // with the later one.
    void received(board::ProcessRunner::Channel channel, const QString& text);
    void finished(const board::ProcessRunner::Result& result);

private:
    void read(Channel channel);
    void onFinished(int exitCode, bool crashed);
    void finish(Result result);
    void stop(Exit reason);
    // Asks the program's group to end, letting a held group go on first.
    void askToEnd();
    // Lets a process that was told to stop go: it ends it after the grace
    // if it has to, and deletes itself once the system reports it ended.
    void release();
    QStringDecoder& decoder(Channel channel);

    QProcess* m_process = nullptr;
    QTimer m_timer;
    int m_timeLimit = 0;
    bool m_separate = false;
    bool m_lowPriority = false;
    // Why the program was stopped, once this runner has stopped it.
    std::optional<Exit> m_stoppedAs;
    // While the program is held: the time limit it had left, 0 for none.
    std::optional<int> m_pausedTimeLeft;
    QStringDecoder m_output{QStringDecoder::Utf8};
    QStringDecoder m_errors{QStringDecoder::Utf8};
};

} // namespace board

Q_DECLARE_METATYPE(board::ProcessRunner::Result)
