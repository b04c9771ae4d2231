#include "board/sketch_uploader.h"

#include "board/board_tools.h"
#include "board/tool_exit.h"

#include <QFileInfo>

namespace board {

namespace {

const ToolExit::Tool& avrdude()
{
    static const ToolExit::Tool tool{
        QStringLiteral("avrdude"), BoardFailure::ToolsMissing, {QStringLiteral("avrdude")},
        QStringLiteral("avrdude wrote nothing for %1 s").arg(SketchUploader::kStallMilliseconds / 1000)};
    return tool;
}

} // namespace

SketchUploader::SketchUploader(QObject* parent) : QObject(parent)
{
    connect(&m_life, &JobLife::finished, this, &SketchUploader::finished);
    connect(&m_runner, &ProcessRunner::received, this,
            [this](ProcessRunner::Channel, const QString& text) { onOutput(text); });
    connect(&m_runner, &ProcessRunner::finished, this, &SketchUploader::onFinished);
}

bool SketchUploader::isRunning() const
{
    return m_life.isRunning();
}

void SketchUploader::cancel()
{
    m_runner.cancel();
}

void SketchUploader::upload(const QString& hexPath, const QString& port)
{
    if (!m_life.begin()) {
        return;
    }
    m_output.clear();
    m_reader = AvrdudeOutput();
    m_percent = -1;

    // avrdude splits -U at colons, so a path with one would name another file.
    if (hexPath.contains(QLatin1Char(':')) || !QFileInfo(hexPath).isFile()) {
        BoardOutcome unusable;
        unusable.failure = BoardFailure::Other;
        unusable.subject = hexPath;
        unusable.detail = QStringLiteral("no usable hex file at %1").arg(hexPath);
        m_life.finishLater(unusable);
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
    m_reader.read(text);
    if (!m_reader.portFailure().ok()) {
        m_runner.cancel();
        return;
    }
    // Once the board has answered, only a stall ends the upload: a big
    // sketch takes longer than any fixed limit would allow.
    if (m_reader.boardAnswered()) {
        m_runner.setTimeLimit(kStallMilliseconds);
    }
    if (const int percent = m_reader.uploadPercent(); percent != m_percent) {
        m_percent = percent;
        emit progress(percent);
    }
}

void SketchUploader::onFinished(const ProcessRunner::Result& result)
{
    BoardOutcome outcome =
        ToolExit::outcome(result, avrdude(), [this](int exitCode) { return m_reader.end(exitCode); });
    if (result.exit == ProcessRunner::Exit::Cancelled && !m_reader.portFailure().ok()) {
        // Stopped here on a port it could not use, not by the user.
        outcome = m_reader.portFailure();
    } else if (result.exit == ProcessRunner::Exit::TimedOut && !m_reader.boardAnswered()) {
        // Without a device signature nothing ever answered: that is a wrong
        // port or board, not a slow one.
        outcome.failure = BoardFailure::BoardNotAnswering;
        outcome.detail = QStringLiteral("no bootloader answered within %1 s").arg(kAnswerMilliseconds / 1000);
    }
    outcome.log = m_output;
    if (outcome.ok() && m_percent != 100) {
        m_percent = 100;
        emit progress(100);
    }
    m_life.finish(outcome);
}

} // namespace board
