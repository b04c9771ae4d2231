#include "board/sketch_uploader.h"

#include "board/avrdude_output.h"
#include "board/board_tools.h"

#include <QFileInfo>
#include <QTimer>

namespace board {

SketchUploader::SketchUploader(QObject* parent) : QObject(parent)
{
    qRegisterMetaType<board::BoardOutcome>();
    connect(&m_runner, &ProcessRunner::received, this,
            [this](ProcessRunner::Channel, const QString& text) { onOutput(text); });
    connect(&m_runner, &ProcessRunner::finished, this, &SketchUploader::onFinished);
}

bool SketchUploader::isRunning() const
{
    return m_runner.isRunning() || m_failingEarly;
}

void SketchUploader::cancel()
{
    m_runner.cancel();
}

void SketchUploader::upload(const QString& hexPath, const QString& port)
{
    if (isRunning()) {
        return;
    }
    m_output.clear();
    m_hexPath = hexPath;
    m_percent = -1;
    m_answered = false;
    m_portFailure = BoardOutcome();

    auto failEarly = [this](BoardFailure failure, const QString& detail, const QStringList& packages = {}) {
        BoardOutcome outcome;
        outcome.failure = failure;
        outcome.detail = detail;
        outcome.missingPackages = packages;
        m_failingEarly = true;
        QTimer::singleShot(0, this, [this, outcome] {
            m_failingEarly = false;
            finish(outcome);
        });
    };
    if (port.trimmed().isEmpty()) {
        failEarly(BoardFailure::NoPort, QStringLiteral("no serial port was given"));
        return;
    }
    if (const QStringList missing = BoardTools::missingForUpload(); !missing.isEmpty()) {
        failEarly(BoardFailure::ToolsMissing,
                  QStringLiteral("avrdude is not installed (apt install %1)").arg(missing.join(QLatin1Char(' '))),
                  missing);
        return;
    }
    // avrdude splits -U at colons, so a path with one would name another file.
    if (hexPath.contains(QLatin1Char(':')) || !QFileInfo(hexPath).isFile()) {
        failEarly(BoardFailure::Other, QStringLiteral("no usable hex file at %1").arg(hexPath));
        return;
    }

    // -D: the Mega's bootloader refuses a chip erase and erases each page as
    // it writes it.
    const QStringList arguments{
        QStringLiteral("-p"), QStringLiteral("atmega2560"),
        QStringLiteral("-c"), QStringLiteral("wiring"),
        QStringLiteral("-b"), QStringLiteral("115200"),
        QStringLiteral("-D"),
        QStringLiteral("-P"), port,
        QStringLiteral("-U"), QStringLiteral("flash:w:%1:i").arg(hexPath),
    };
    m_runner.setTimeLimit(kAnswerMilliseconds);
    m_runner.start(BoardTools::avrdudeProgram(), arguments);
}

void SketchUploader::onOutput(const QString& text)
{
    m_output += text;
    if (m_portFailure.ok()) {
        m_portFailure = AvrdudeOutput::portFailure(m_output);
        if (!m_portFailure.ok()) {
            m_runner.cancel();
            return;
        }
    }
    // Once the board has answered, only a stall ends the upload: a big
    // sketch takes longer than any fixed limit would allow.
    m_answered = m_answered || AvrdudeOutput::boardAnswered(m_output);
    if (m_answered) {
        m_runner.setTimeLimit(kStallMilliseconds);
    }
    const int percent = AvrdudeOutput::uploadPercent(m_output);
    if (percent != m_percent) {
        m_percent = percent;
        emit progress(percent);
    }
}

void SketchUploader::onFinished(const ProcessRunner::Result& result)
{
    BoardOutcome outcome;
    switch (result.exit) {
    case ProcessRunner::Exit::FailedToStart:
        outcome.failure = BoardFailure::ToolsMissing;
        outcome.missingPackages = {QStringLiteral("avrdude")};
        outcome.detail = QStringLiteral("cannot start avrdude: %1").arg(result.error);
        break;
    case ProcessRunner::Exit::Cancelled:
        // Stopped here on a port it could not use, or by the user.
        if (!m_portFailure.ok()) {
            outcome = m_portFailure;
        } else {
            outcome.failure = BoardFailure::Cancelled;
            outcome.detail = QStringLiteral("the upload was cancelled");
        }
        break;
    case ProcessRunner::Exit::TimedOut:
        // Without a device signature nothing ever answered: that is a wrong
        // port or board, not a slow one.
        outcome.failure = m_answered ? BoardFailure::TimedOut : BoardFailure::BoardNotAnswering;
        outcome.detail = m_answered
            ? QStringLiteral("avrdude wrote nothing for %1 s").arg(kStallMilliseconds / 1000)
            : QStringLiteral("no bootloader answered within %1 s").arg(kAnswerMilliseconds / 1000);
        break;
    case ProcessRunner::Exit::Crashed:
        outcome = AvrdudeOutput::read(m_output, -1);
        break;
    case ProcessRunner::Exit::Normal:
        outcome = AvrdudeOutput::read(m_output, result.exitCode);
        break;
    }
    outcome.log = m_output;
    finish(outcome);
}

void SketchUploader::finish(BoardOutcome outcome)
{
    outcome.hexPath = m_hexPath;
    if (outcome.ok() && m_percent != 100) {
        m_percent = 100;
        emit progress(100);
    }
    emit finished(outcome);
}

} // namespace board
