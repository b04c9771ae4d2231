#pragma once

#include "board/board_outcome.h"
#include "board/job_life.h"
#include "board/process_runner.h"

#include <QObject>
#include <QString>

#include <memory>

class QLockFile;
class QTemporaryDir;

namespace board {

// Compiles a sketch text for the Mega 2560 with the Arduino builder, in a
// build folder kept in the user's cache so the core is compiled only once,
// and reports through finished(). It owns the build folder and the names of
// what the builder leaves in it; running the builder is the runner's and
// reading its words is BuilderOutput's. It does not check that the tools
// are installed (the job that uses it does), it does not upload, and it does
// not know where the text came from.
class SketchCompiler : public QObject {
    Q_OBJECT
public:
    // A cold build compiles the whole core; this leaves room for a slow disk.
    static constexpr int kTimeLimitMilliseconds = 180000;

    explicit SketchCompiler(QObject* parent = nullptr);
    ~SketchCompiler() override;

    // Starts compiling; finished() follows exactly once, after compile()
    // returns, also for a build folder that cannot be written.
    void compile(const QString& sketchText);
    void cancel();
    bool isRunning() const;

signals:
    void finished(const board::BoardOutcome& outcome);

private:
    // Locks a build folder and writes the sketch into it; the outcome of
    // a failure, or one without failure.
    BoardOutcome prepare(const QString& sketchText);
    void onFinished(const ProcessRunner::Result& result);
    QString buildFile(const char* suffix) const;

    JobLife m_life;
    // The folder in use: the build root in the user's cache, or a folder of
    // this compiler's own while another process holds the build root's lock.
    QString m_activeRoot;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QTemporaryDir> m_privateRoot;
    QString m_output;
    // Last, so that a builder still running is stopped before its folders go.
    ProcessRunner m_runner;
};

} // namespace board
