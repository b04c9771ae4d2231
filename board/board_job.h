#pragma once

#include "board/board_outcome.h"
#include "board/sketch_compiler.h"
#include "board/sketch_uploader.h"

#include <QObject>
#include <QString>

namespace board {

// Sends a sketch text to a board: compiles it, then uploads the result. It
// is the one call the window and the command line make; it reports which
// stage it is in, the upload's progress, and one outcome at the end, with
// both tools' output in its log.
class BoardJob : public QObject {
    Q_OBJECT
public:
    enum class Stage { Compiling, Uploading };
    Q_ENUM(Stage)

    explicit BoardJob(QObject* parent = nullptr);

    // Checked before compiling, so a missing port or tool fails at once.
    void start(const QString& sketchText, const QString& port);
    void cancel();
    bool isRunning() const;

    SketchCompiler& compiler() { return m_compiler; }

signals:
    void stageChanged(board::BoardJob::Stage stage);
    void progress(int percent);
    void finished(const board::BoardOutcome& outcome);

private:
    void onCompiled(const BoardOutcome& outcome);
    void onUploaded(const BoardOutcome& outcome);

    SketchCompiler m_compiler;
    SketchUploader m_uploader;
    QString m_port;
    BoardOutcome m_compiled;
    bool m_running = false;
};

} // namespace board
