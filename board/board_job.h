#pragma once

#include "board/board_outcome.h"
#include "board/compiled_copy.h"
#include "board/job_life.h"
#include "board/sketch_compiler.h"
#include "board/sketch_uploader.h"

#include <QObject>
#include <QString>

#include <optional>

namespace board {

// Sends a sketch text to a board: checks that the tools and the port are
// there, compiles it, then uploads the result; or only compiles it, for its
// Intel HEX. It is the one call the window and the command line make; it
// reports which stage it is in, the upload's progress, and one outcome at
// the end, with the tools' output in its log. Writing the HEX anywhere is
// the caller's.
class BoardJob : public QObject {
    Q_OBJECT
public:
    enum class Stage { Compiling, Uploading };
    Q_ENUM(Stage)

    explicit BoardJob(QObject* parent = nullptr);

    // Compiles and uploads. Checked before compiling, so a missing port or
    // tool fails at once; the outcome still arrives after the call returns.
    void start(const QString& sketchText, const QString& port);
    // Compiles only; the outcome carries the HEX's and the ELF's paths and
    // the sizes. The files stay where they are until the next run or until
    // the job goes.
    void compile(const QString& sketchText);
    void cancel();
    bool isRunning() const;

signals:
    void stageChanged(board::BoardJob::Stage stage);
    void progress(int percent);
    void finished(const board::BoardOutcome& outcome);

private:
    // port: where to upload, or none to compile only.
    void run(const QString& sketchText, const std::optional<QString>& port);
    void onCompiled(const BoardOutcome& outcome);
    void onUploaded(const BoardOutcome& outcome);

    JobLife m_life;
    SketchCompiler m_compiler;
    SketchUploader m_uploader;
    std::optional<QString> m_port;
    BoardOutcome m_compiled;
    // The HEX avrdude reads: the shared build folder may be rebuilt meanwhile.
    CompiledCopy m_compiledCopy;
};

} // namespace board
