#pragma once

#include "board/board_outcome.h"
#include "board/process_runner.h"

#include <QObject>
#include <QString>

#include <memory>

class QLockFile;
class QTemporaryDir;

namespace board {

// Compiles a sketch text for the Mega 2560 with the Arduino builder, in a
// build folder kept in the user's cache so the core is compiled only once,
// and reports through finished(). It owns the build folder; running the
// builder is the runner's and reading its words is BuilderOutput's. It does
// not upload, and it does not know where the text came from.
class SketchCompiler : public QObject {
    Q_OBJECT
public:
    // A cold build compiles the whole core; this leaves room for a slow disk.
    static constexpr int kTimeLimitMilliseconds = 180000;

    explicit SketchCompiler(QObject* parent = nullptr);
    ~SketchCompiler() override;

    // The folder the sketch and its build live in (default: a folder in
    // QStandardPaths::CacheLocation). Tests and benchmarks point it elsewhere.
    void setBuildRoot(const QString& folder);
    QString buildRoot() const;

    // Starts compiling; finished() follows exactly once, after compile()
    // returns, also for failures found before the builder starts (tools
    // missing, folder not writable).
    void compile(const QString& sketchText);
    void cancel();
    bool isRunning() const;

signals:
    void finished(const board::BoardOutcome& outcome);

private:
    void onFinished(const ProcessRunner::Result& result);
    void finish(const BoardOutcome& outcome);

    QString m_buildRoot;
    // The folder in use: the build root, or a folder of this compiler's own
    // while another process holds the build root's lock.
    QString m_activeRoot;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QTemporaryDir> m_privateRoot;
    QString m_output;
    bool m_failingEarly = false;
    // Last, so that a builder still running is stopped before its folders go.
    ProcessRunner m_runner;
};

} // namespace board
