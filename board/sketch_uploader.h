#pragma once

#include "board/board_outcome.h"
#include "board/process_runner.h"

#include <QObject>
#include <QString>

namespace board {

// Writes a compiled Intel HEX to a Mega 2560's flash through its bootloader
// with avrdude, and reports progress as avrdude's bar grows. It decides when
// avrdude has waited long enough; running avrdude is the runner's and
// reading its words is AvrdudeOutput's. It does not compile and does not
// choose the port.
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
    // returns, also for a port, a tool or a file that is not there.
    void upload(const QString& hexPath, const QString& port);
    void cancel();
    bool isRunning() const;

signals:
    void progress(int percent);
    void finished(const board::BoardOutcome& outcome);

private:
    void onOutput(const QString& text);
    void onFinished(const ProcessRunner::Result& result);
    void finish(BoardOutcome outcome);

    ProcessRunner m_runner;
    QString m_output;
    QString m_hexPath;
    int m_percent = -1;
    bool m_answered = false;
    bool m_failingEarly = false;
    // A port avrdude could not use; it is stopped on reading it.
    BoardOutcome m_portFailure;
};

} // namespace board
