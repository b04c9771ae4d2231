#pragma once

#include "board/board_outcome.h"
#include "board/sketch_compiler.h"
#include "board/sketch_uploader.h"

#include <QObject>
#include <QString>

namespace board {

// Sends a sketch text to a board: compiles it, then uploads the result; or
// only compiles it, for its Intel HEX. It is the one call the window and
// the command line make; it reports which stage it is in, the upload's
// progress, and one outcome at the end, with the tools' output in its log.
// Writing the HEX anywhere is the caller's.
class BoardJob : public QObject {
    Q_OBJECT
public:
    enum class Stage { Compiling, Uploading };
    Q_ENUM(Stage)

    explicit BoardJob(QObject* parent = nullptr);

    // Compiles and uploads. Checked before compiling, so a missing port or
    // tool fails at once; the outcome still arrives after the call returns.
    void start(const QString& sketchText, const QString& port);
    // Compiles only; the outcome carries the HEX's path and the sizes. The
    // HEX stays where it is until the next run or until the job goes.
    void compile(const QString& sketchText);
    void cancel();
    bool isRunning() const;

    SketchCompiler& compiler() { return m_compiler; }

signals:
    void stageChanged(board::BoardJob::Stage stage);
    void progress(int percent);
    void finished(const board::BoardOutcome& outcome);

private:
    void run(const QString& sketchText, const QString& port, bool upload);
    void onCompiled(const BoardOutcome& outcome);
    void onUploaded(const BoardOutcome& outcome);

    SketchCompiler m_compiler;
    SketchUploader m_uploader;
    QString m_port;
    bool m_upload = false;
    BoardOutcome m_compiled;
    bool m_running = false;
};

} // namespace board
