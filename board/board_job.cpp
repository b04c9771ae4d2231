#include "board/board_job.h"

#include "board/board_tools.h"

#include <QFileInfo>
#include <QTimer>

namespace board {

namespace {

BoardOutcome checkBeforeUpload(const QString& port)
{
    BoardOutcome early;
    if (const QStringList missing = BoardTools::missingForAll(); !missing.isEmpty()) {
        early.failure = BoardFailure::ToolsMissing;
        early.missingPackages = missing;
        early.detail = QStringLiteral("the Arduino tools are not installed (apt install %1)")
                           .arg(missing.join(QLatin1Char(' ')));
    } else if (port.trimmed().isEmpty()) {
        early.failure = BoardFailure::NoPort;
        early.detail = QStringLiteral("no serial port was given");
    } else if (!QFileInfo::exists(port)) {
        early.failure = BoardFailure::PortNotFound;
        early.detail = QStringLiteral("cannot open %1: No such file or directory").arg(port);
    }
    return early;
}

} // namespace

BoardJob::BoardJob(QObject* parent) : QObject(parent)
{
    qRegisterMetaType<board::BoardOutcome>();
    connect(&m_compiler, &SketchCompiler::finished, this, &BoardJob::onCompiled);
    connect(&m_uploader, &SketchUploader::finished, this, &BoardJob::onUploaded);
    connect(&m_uploader, &SketchUploader::progress, this, &BoardJob::progress);
}

bool BoardJob::isRunning() const
{
    return m_running;
}

void BoardJob::start(const QString& sketchText, const QString& port)
{
    run(sketchText, port, true);
}

void BoardJob::compile(const QString& sketchText)
{
    run(sketchText, QString(), false);
}

void BoardJob::run(const QString& sketchText, const QString& port, bool upload)
{
    if (m_running) {
        return;
    }
    m_running = true;
    m_port = port;
    m_upload = upload;
    m_compiled = BoardOutcome();

    // Nothing is compiled for a port or a tool that is not there; these
    // are reported after the call returns, as every other outcome is. A
    // compile alone needs only the compiler's tools, which it checks itself.
    const BoardOutcome early = upload ? checkBeforeUpload(port) : BoardOutcome();
    if (!early.ok()) {
        QTimer::singleShot(0, this, [this, early] {
            m_running = false;
            emit finished(early);
        });
        return;
    }
    emit stageChanged(Stage::Compiling);
    m_compiler.compile(sketchText);
}

void BoardJob::cancel()
{
    m_compiler.cancel();
    m_uploader.cancel();
}

void BoardJob::onCompiled(const BoardOutcome& outcome)
{
    if (!m_running) {
        return;
    }
    if (!outcome.ok() || !m_upload) {
        m_running = false;
        emit finished(outcome);
        return;
    }
    m_compiled = outcome;
    emit stageChanged(Stage::Uploading);
    emit progress(0);
    m_uploader.upload(outcome.hexPath, m_port);
}

void BoardJob::onUploaded(const BoardOutcome& outcome)
{
    if (!m_running) {
        return;
    }
    BoardOutcome combined = outcome;
    combined.hexPath = m_compiled.hexPath;
    combined.flashBytes = m_compiled.flashBytes;
    combined.sramBytes = m_compiled.sramBytes;
    combined.log = m_compiled.log + QLatin1Char('\n') + outcome.log;
    m_running = false;
    emit finished(combined);
}

} // namespace board
