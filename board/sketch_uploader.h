#pragma once

#include "board/avrdude_output.h"
#include "board/board_outcome.h"
#include "board/job_life.h"
#include "board/process_runner.h"

#include <QObject>
#include <QString>

namespace board {

// Writes a compiled Intel HEX to a Mega 2560's flash through its bootloader
// with avrdude, and reports progress as avrdude's bar grows. It decides when
// avrdude has waited long enough; running avrdude is the runner's and
// reading its words is AvrdudeOutput's. It does not compile, does not
// choose the port, and does not check that avrdude and the port are there
// (the job that uses it does).
class SketchUploader : public QObject {
    Q_OBJECT
public:
    // A Mega's bootloader answers within a second of the reset; avrdude is
    // stopped when no board has answered after this long...
    static constexpr int kAnswerMilliseconds = 10000;
    // ... or when it has written nothing for this long once one has.
    static constexpr int kStallMilliseconds = 10000;

    explicit SketchUploader(QObject* parent = nullptr);

    // Starts the upload; finished() follows exactly once, after upload()
    // returns, also for a hex file that is not there.
    void upload(const QString& hexPath, const QString& port);
    void cancel();
    bool isRunning() const;

signals:
    void progress(int percent);
    void finished(const board::BoardOutcome& outcome);

private:
    void onOutput(const QString& text);
    void onFinished(const ProcessRunner::Result& result);

    JobLife m_life;
    ProcessRunner m_runner;
    QString m_output;
    AvrdudeOutput m_reader;
    int m_percent = -1;
};

} // namespace board
