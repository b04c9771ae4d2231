#pragma once

#include "board/board_outcome.h"

#include <QObject>
#include <QProcess>
#include <QString>
#include <QTimer>

namespace board {

// Writes a compiled Intel HEX to a Mega 2560's flash through its bootloader
// with avrdude, and reports progress as avrdude's bar grows. Success is
// avrdude's exit 0 together with its report that the flash was verified. It
// does not compile and does not choose the port.
class SketchUploader : public QObject {
    Q_OBJECT
public:
    // A Mega's bootloader answers within a second of the reset; avrdude is
    // stopped when no board has answered after this long...
    static constexpr int kAnswerMilliseconds = 10000;
    // ... or when it has written nothing for this long once one has.
    static constexpr int kStallMilliseconds = 10000;

    explicit SketchUploader(QObject* parent = nullptr);
    ~SketchUploader() override;

    // Starts the upload; finished() follows exactly once.
    void upload(const QString& hexPath, const QString& port);
    void cancel();
    bool isRunning() const;

    // Turns avrdude's output and exit code into an outcome's failure and
    // detail line (the log and hex path are left to the caller).
    static BoardOutcome readAvrdudeOutput(const QString& output, int exitCode);
    // How far avrdude's output so far has come: its write bar is the first
    // half, its verify bar the second.
    static int uploadPercent(const QString& output);

signals:
    void progress(int percent);
    void finished(const board::BoardOutcome& outcome);

private:
    void onOutput();
    void onFinished(int exitCode, QProcess::ExitStatus status);
    void finish(BoardOutcome outcome);

    QProcess* m_process = nullptr;
    QTimer m_timer;
    QString m_output;
    QString m_hexPath;
    int m_hashes = 0;
    int m_percent = -1;
    bool m_cancelled = false;
    bool m_timedOut = false;
    bool m_answered = false;
    BoardOutcome m_portFailure;
};

} // namespace board
