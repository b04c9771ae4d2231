#include "board/board_job.h"

#include "board/preflight.h"

namespace board {

BoardJob::BoardJob(QObject* parent) : QObject(parent)
{
    connect(&m_life, &JobLife::finished, this, &BoardJob::finished);
    connect(&m_compiler, &SketchCompiler::finished, this, &BoardJob::onCompiled);
    connect(&m_uploader, &SketchUploader::finished, this, &BoardJob::onUploaded);
    connect(&m_uploader, &SketchUploader::progress, this, &BoardJob::progress);
}

bool BoardJob::isRunning() const
{
    return m_life.isRunning();
}

void BoardJob::start(const QString& sketchText, const QString& port)
{
    run(sketchText, port);
}

void BoardJob::compile(const QString& sketchText)
{
    run(sketchText, std::nullopt);
}

void BoardJob::run(const QString& sketchText, const std::optional<QString>& port)
{
    if (!m_life.begin()) {
        return;
    }
    m_port = port;
    m_compiled = BoardOutcome();

    // Nothing is compiled for a port or a tool that is not there.
    const BoardOutcome early = port ? Preflight::forUpload(*port) : Preflight::forCompile();
    if (!early.ok()) {
        m_life.finishLater(early);
        return;
    }
    emit stageChanged(Stage::Compiling);
    m_compiler.compile(sketchText);
}

void BoardJob::cancel()
{
    if (m_life.stop()) {
        m_compiler.cancel();
        m_uploader.cancel();
    }
}

void BoardJob::onCompiled(const BoardOutcome& outcome)
{
    if (!outcome.ok() || !m_port) {
        m_life.finish(outcome);
        return;
    }
    if (m_life.finishIfStopping(outcome)) {
        return;
    }
    m_compiled = outcome;
    BoardOutcome copied = outcome;
    const QString hex = m_compiledCopy.take(outcome.hexPath, copied);
    if (!copied.ok()) {
        m_life.finish(copied);
        return;
    }
    emit stageChanged(Stage::Uploading);
    emit progress(0);
    m_uploader.upload(hex, *m_port);
}

void BoardJob::onUploaded(const BoardOutcome& outcome)
{
    BoardOutcome combined = outcome;
    combined.hexPath = m_compiled.hexPath;
    combined.elfPath = m_compiled.elfPath;
    combined.flashBytes = m_compiled.flashBytes;
    combined.sramBytes = m_compiled.sramBytes;
    combined.log = m_compiled.log + QLatin1Char('\n') + outcome.log;
    m_compiledCopy.release();
    m_life.finish(combined);
}

} // namespace board
