#include "board/simulation_job.h"

#include "board/board_tools.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <variant>

namespace board {

namespace {

// What the simulator says on its standard error is kept for the log, up to this much.
constexpr qsizetype kMostErrorText = 64 * 1024;

template <typename... Handlers>
struct Visitor : Handlers... {
    using Handlers::operator()...;
};

} // namespace

SimulationJob::SimulationJob(QObject* parent) : QObject(parent)
{
    qRegisterMetaType<board::BoardOutcome>();
    qRegisterMetaType<board::SimulatorOutput::Wiring>();
    qRegisterMetaType<board::SimulatorOutput::Frame>();
    qRegisterMetaType<board::SimulatorOutput::Light>();
    qRegisterMetaType<board::SimulatorOutput::Fault>();
    connect(&m_compiler, &SketchCompiler::finished, this, &SimulationJob::onCompiled);
}

SimulationJob::~SimulationJob()
{
    // Nothing is left running, and nothing is left unreaped.
    if (m_process != nullptr) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(1000);
    }
}

bool SimulationJob::isRunning() const
{
    return m_running;
}

void SimulationJob::start(const QString& sketchText, const Request& request)
{
    if (m_running) {
        return;
    }
    m_running = true;
    m_cancelled = false;
    m_request = request;
    m_compiledOutcome = BoardOutcome();
    m_output = SimulatorOutput();
    m_decoder.resetState();
    m_errors.clear();
    m_simulatorError.clear();
    if (BoardTools::simulatorProgram().isEmpty()) {
        BoardOutcome missing;
        missing.failure = BoardFailure::Other;
        missing.detail = QStringLiteral("the simulator program ledmarquee-simulator is not installed beside this one");
        QTimer::singleShot(0, this, [this, missing] { finish(missing); });
        return;
    }
    m_compiler.compile(sketchText);
}

void SimulationJob::cancel()
{
    if (!m_running) {
        return;
    }
    m_cancelled = true;
    if (m_compiler.isRunning()) {
        m_compiler.cancel();
    }
    if (m_process != nullptr) {
        m_process->kill();
    }
}

void SimulationJob::onCompiled(const BoardOutcome& outcome)
{
    if (!m_running) {
        return;
    }
    if (!outcome.ok()) {
        finish(outcome);
        return;
    }
    m_compiledOutcome = outcome;
    emit compiled(outcome);
    if (m_cancelled) {
        BoardOutcome cancelled = outcome;
        cancelled.failure = BoardFailure::Cancelled;
        finish(cancelled);
        return;
    }
    // The simulator gets a copy of its own: the build folder is the next
    // compile's, from this window or from the command line.
    m_folder = std::make_unique<QTemporaryDir>();
    QString elf = outcome.hexPath;
    elf.replace(QRegularExpression(QStringLiteral("\\.hex$")), QStringLiteral(".elf"));
    const QString source = QFileInfo::exists(elf) ? elf : outcome.hexPath;
    const QString copy = m_folder->filePath(QFileInfo(source).fileName());
    if (!m_folder->isValid() || !QFile::copy(source, copy)) {
        BoardOutcome failed = outcome;
        failed.failure = BoardFailure::Other;
        failed.detail = QStringLiteral("cannot copy %1 into a temporary folder").arg(source);
        finish(failed);
        return;
    }
    startSimulator(copy);
}

void SimulationJob::startSimulator(const QString& sketch)
{
    QStringList arguments;
    if (m_request.seconds > 0) {
        arguments << QStringLiteral("--seconds") << QString::number(m_request.seconds, 'g', 17);
    }
    if (m_request.pace == Pace::RealTime) {
        arguments << QStringLiteral("--real-time");
    }
    if (m_request.frames) {
        arguments << QStringLiteral("--frames");
    }
    if (m_request.light) {
        arguments << QStringLiteral("--light");
    }
    arguments << sketch;

    m_process = new QProcess(this);
    connect(m_process, &QProcess::readyReadStandardOutput, this, &SimulationJob::readSimulator);
    connect(m_process, &QProcess::readyReadStandardError, this, [this] {
        const QString text = QString::fromUtf8(m_process->readAllStandardError());
        if (m_errors.size() < kMostErrorText) {
            m_errors += text.left(kMostErrorText - m_errors.size());
        }
    });
    connect(m_process, &QProcess::finished, this, &SimulationJob::onSimulatorFinished);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            BoardOutcome failed = m_compiledOutcome;
            failed.failure = BoardFailure::Other;
            failed.detail = QStringLiteral("cannot start the simulator: %1").arg(m_process->errorString());
            finish(failed);
        }
    });
    m_process->start(BoardTools::simulatorProgram(), arguments);
}

void SimulationJob::readSimulator()
{
    const QString text = m_decoder.decode(m_process->readAllStandardOutput());
    if (m_cancelled) {
        return; // what a stopped run still had on its way is not shown
    }
    for (const SimulatorOutput::Event& event : m_output.read(text)) {
        std::visit(Visitor{
                       [this](SimulatorOutput::Wiring wiring) { emit wiringRecognised(wiring); },
                       [this](const SimulatorOutput::Frame& frame) { emit frameShown(frame); },
                       [this](const SimulatorOutput::Light& light) { emit lightChanged(light); },
                       [this](const SimulatorOutput::Fault& fault) { emit faulted(fault); },
                       [](const SimulatorOutput::End&) {},
                       [this](const SimulatorOutput::Error& error) { m_simulatorError = error.text; },
                   },
                   event);
        if (m_process == nullptr) {
            return; // a handler cancelled the run
        }
    }
}

void SimulationJob::onSimulatorFinished(int exitCode, QProcess::ExitStatus status)
{
    readSimulator();
    m_errors += QString::fromUtf8(m_process->readAllStandardError()).left(kMostErrorText);
    BoardOutcome outcome = m_compiledOutcome;
    if (!m_errors.isEmpty()) {
        outcome.log += QStringLiteral("\n") + m_errors;
    }
    if (m_cancelled) {
        outcome.failure = BoardFailure::Cancelled;
        outcome.detail = QStringLiteral("the simulation was stopped");
    } else if (status != QProcess::NormalExit) {
        outcome.failure = BoardFailure::Other;
        outcome.detail = QStringLiteral("the simulator stopped unexpectedly");
    } else if (exitCode != 0 && exitCode != 1) {
        outcome.failure = BoardFailure::Other;
        outcome.detail = m_simulatorError.isEmpty()
            ? QStringLiteral("the simulator failed (exit status %1)").arg(exitCode)
            : QStringLiteral("the simulator could not run the sketch: %1").arg(m_simulatorError);
    }
    finish(outcome);
}

void SimulationJob::finish(BoardOutcome outcome)
{
    if (!m_running) {
        return;
    }
    m_running = false;
    if (m_process != nullptr) {
        m_process->disconnect(this);
        m_process->deleteLater();
        m_process = nullptr;
    }
    m_folder.reset();
    emit finished(outcome);
}

} // namespace board
