#pragma once

#include "board/board_outcome.h"

#include <QObject>
#include <QProcess>
#include <QString>
#include <QTimer>

#include <memory>
#include <utility>

class QLockFile;
class QTemporaryDir;

namespace board {

// Compiles a sketch text for the Mega 2560 with the Arduino builder, in a
// build folder kept in the user's cache so the core is compiled only once.
// It runs the builder in the background and reports through finished(); it
// does not upload, and it does not know where the text came from.
class SketchCompiler : public QObject {
    Q_OBJECT
public:
    explicit SketchCompiler(QObject* parent = nullptr);
    ~SketchCompiler() override;

    // The folder the sketch and its build live in (default: a folder in
    // QStandardPaths::CacheLocation). Tests and benchmarks point it elsewhere.
    void setBuildRoot(const QString& folder);
    QString buildRoot() const;

    // Starts compiling; finished() follows exactly once, also for failures
    // found before the builder starts (tools missing, folder not writable).
    void compile(const QString& sketchText);
    void cancel();
    bool isRunning() const;

    // Reads "Sketch uses N bytes" and "Global variables use N bytes".
    static void readSizes(const QString& builderOutput, BoardOutcome& outcome);
    // The first "sketch.ino:LINE:COL: error: ..." of the builder's output,
    // as a line number and its message; 0 and an empty string if none.
    static std::pair<int, QString> firstError(const QString& builderOutput);

signals:
    void finished(const board::BoardOutcome& outcome);

private:
    void onFinished(int exitCode, QProcess::ExitStatus status);
    void finish(BoardOutcome outcome);
    void stopBuilder();

    QString m_buildRoot;
    // The folder in use: the build root, or a folder of this compiler's own
    // while another process holds the build root's lock.
    QString m_activeRoot;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QTemporaryDir> m_privateRoot;
    QProcess* m_process = nullptr;
    QTimer m_timer;
    QString m_output;
    bool m_cancelled = false;
    bool m_timedOut = false;
};

} // namespace board
