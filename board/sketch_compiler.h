#pragma once

#include "board/board_outcome.h"
#include "board/job_life.h"
#include "board/process_runner.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <memory>

class QLockFile;
class QTemporaryDir;

namespace board {

// Compiles a sketch text for the Mega 2560 with the Arduino builder, in a
// build folder kept in the user's cache so the core is compiled only once,
// and reports through finished(). It owns the build folder, its lock and
// the names of what the builder leaves in it, and it never builds the same
// text twice: the folder's BuildRecord says which text its build is of, so
// a compile of that text again, from this process or another, finishes at
// once from it. A compile that finds the folder locked waits for the lock,
// so that a click joins a build of its text that is under way; only a
// folder that cannot be used, or a lock held far too long, sends it to a
// folder of its own. Running the builder is the runner's and reading its
// words is BuilderOutput's. It does not check that the tools are installed
// (the job that uses it does), it does not upload, and it does not know
// where the text came from.
class SketchCompiler : public QObject {
    Q_OBJECT
public:
    // A cold build compiles the whole core; this leaves room for a slow disk.
    static constexpr int kTimeLimitMilliseconds = 180000;
    // How long a compile waits for another one's lock on the build folder
    // before it builds in a folder of its own, which costs a cold build.
    static constexpr int kLockWaitMilliseconds = 60000;

    explicit SketchCompiler(QObject* parent = nullptr);
    ~SketchCompiler() override;

    // Runs the builder at low priority from the next compile on.
    void setLowPriority(bool low);

    // Starts compiling; finished() follows exactly once, after compile()
    // returns, also for a build folder that cannot be written and for a
    // build found already made.
    void compile(const QString& sketchText);
    void cancel();
    bool isRunning() const;

signals:
    void finished(const board::BoardOutcome& outcome);

private:
    // Locks the shared build folder and builds there, or waits for its lock.
    void tryTheSharedFolder();
    // Builds in a folder of this compiler's own, made once and kept.
    void buildInOwnFolder();
    void buildIn(const QString& root);
    // Writes the sketch into the active folder; the outcome of a failure,
    // or one without failure.
    BoardOutcome prepare();
    QStringList arguments(const QString& root) const;
    QStringList builtFiles() const;
    QString buildFile(const char* suffix) const;
    void onFinished(const ProcessRunner::Result& result);
    void finish(const BoardOutcome& outcome);

    JobLife m_life;
    QByteArray m_sketch;
    QByteArray m_key;
    // While another compile holds the build folder: looks for its lock
    // again, until the wait runs out.
    QTimer m_lockWait;
    QElapsedTimer m_waited;
    // The folder in use: the build root in the user's cache, or a folder of
    // this compiler's own while another process holds the build root's lock.
    QString m_activeRoot;
    // The build root in the user's cache, and its lock, held once taken.
    QString m_sharedRoot;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QTemporaryDir> m_privateRoot;
    QString m_output;
    // Last, so that a builder still running is stopped before its folders go.
    ProcessRunner m_runner;
};

} // namespace board
