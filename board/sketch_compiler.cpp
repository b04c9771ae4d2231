#include "board/sketch_compiler.h"

#include "board/board_tools.h"
#include "board/builder_output.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

namespace board {

namespace {

QString defaultBuildRoot()
{
    // Shared by the window and the command line, so either one's compiled
    // core serves the other.
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/ledmarquee/board");
}

} // namespace

SketchCompiler::SketchCompiler(QObject* parent) : QObject(parent), m_buildRoot(defaultBuildRoot())
{
    qRegisterMetaType<board::BoardOutcome>();
    connect(&m_runner, &ProcessRunner::received, this,
            [this](ProcessRunner::Channel, const QString& text) { m_output += text; });
    connect(&m_runner, &ProcessRunner::finished, this, &SketchCompiler::onFinished);
}

SketchCompiler::~SketchCompiler() = default;

void SketchCompiler::setBuildRoot(const QString& folder)
{
    m_buildRoot = folder;
}

QString SketchCompiler::buildRoot() const
{
    return m_buildRoot;
}

bool SketchCompiler::isRunning() const
{
    return m_runner.isRunning() || m_failingEarly;
}

void SketchCompiler::cancel()
{
    m_runner.cancel();
}

void SketchCompiler::compile(const QString& sketchText)
{
    if (isRunning()) {
        return;
    }
    m_output.clear();

    // Failures found before the builder starts are reported after compile()
    // returns, as the builder's own are.
    auto failEarly = [this](const BoardOutcome& outcome) {
        m_lock.reset();
        m_failingEarly = true;
        QTimer::singleShot(0, this, [this, outcome] {
            m_failingEarly = false;
            finish(outcome);
        });
    };

    const QStringList missing = BoardTools::missingForCompile();
    if (!missing.isEmpty()) {
        BoardOutcome outcome;
        outcome.failure = BoardFailure::ToolsMissing;
        outcome.missingPackages = missing;
        outcome.detail = QStringLiteral("the Arduino build tools are not installed (apt install %1)")
                             .arg(missing.join(QLatin1Char(' ')));
        failEarly(outcome);
        return;
    }

    // Two builds in one folder (the window and the command line at once)
    // would spoil each other's objects; the second one builds on its own.
    m_activeRoot = m_buildRoot;
    QDir().mkpath(m_buildRoot);
    m_lock = std::make_unique<QLockFile>(m_buildRoot + QStringLiteral("/lock"));
    m_lock->setStaleLockTime(0); // stale only once its process has gone
    if (!m_lock->tryLock(0)) {
        m_lock.reset();
        if (!m_privateRoot) {
            m_privateRoot = std::make_unique<QTemporaryDir>();
        }
        m_activeRoot = m_privateRoot->path();
    }

    // The builder wants the sketch in a folder of its own name.
    const QString sketchFolder = m_activeRoot + QStringLiteral("/sketch");
    const QString buildFolder = m_activeRoot + QStringLiteral("/build");
    const QString sketchPath = sketchFolder + QStringLiteral("/sketch.ino");
    if (!QDir().mkpath(sketchFolder) || !QDir().mkpath(buildFolder)) {
        BoardOutcome outcome;
        outcome.failure = BoardFailure::Other;
        outcome.detail = QStringLiteral("cannot create the build folder %1").arg(m_activeRoot);
        failEarly(outcome);
        return;
    }
    QSaveFile file(sketchPath);
    const QByteArray bytes = sketchText.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        BoardOutcome outcome;
        outcome.failure = BoardFailure::Other;
        outcome.detail = QStringLiteral("cannot write %1: %2").arg(sketchPath, file.errorString());
        failEarly(outcome);
        return;
    }

    // The flag mends Debian's avr-g++ 5.4, whose headers leave DECIMAL_DIG
    // undefined for the core.
    const QStringList arguments{
        QStringLiteral("-compile"),
        QStringLiteral("-hardware"), QStringLiteral("/usr/share/arduino/hardware"),
        QStringLiteral("-hardware"), QStringLiteral("/usr/share/arduino-builder"),
        QStringLiteral("-tools"), QStringLiteral("/usr/bin"),
        QStringLiteral("-fqbn"), QStringLiteral("arduino:avr:mega:cpu=atmega2560"),
        QStringLiteral("-prefs"), QStringLiteral("compiler.cpp.extra_flags=-DDECIMAL_DIG=__DECIMAL_DIG__"),
        QStringLiteral("-build-path"), buildFolder,
        sketchPath,
    };
    m_runner.setTimeLimit(kTimeLimitMilliseconds);
    m_runner.start(BoardTools::builderProgram(), arguments);
}

void SketchCompiler::onFinished(const ProcessRunner::Result& result)
{
    BoardOutcome outcome;
    switch (result.exit) {
    case ProcessRunner::Exit::FailedToStart:
        outcome.failure = BoardFailure::ToolsMissing;
        outcome.missingPackages = {QStringLiteral("arduino-builder")};
        outcome.detail = QStringLiteral("cannot start arduino-builder: %1").arg(result.error);
        break;
    case ProcessRunner::Exit::Cancelled:
        outcome.failure = BoardFailure::Cancelled;
        outcome.detail = QStringLiteral("compiling was cancelled");
        break;
    case ProcessRunner::Exit::TimedOut:
        outcome.failure = BoardFailure::TimedOut;
        outcome.detail = QStringLiteral("arduino-builder did not finish within %1 s").arg(kTimeLimitMilliseconds / 1000);
        break;
    case ProcessRunner::Exit::Crashed:
        outcome = BuilderOutput::read(m_output, -1);
        break;
    case ProcessRunner::Exit::Normal:
        outcome = BuilderOutput::read(m_output, result.exitCode);
        if (outcome.ok()) {
            outcome.hexPath = m_activeRoot + QStringLiteral("/build/sketch.ino.hex");
            if (!QFileInfo::exists(outcome.hexPath)) {
                outcome.failure = BoardFailure::CompileFailed;
                outcome.detail = QStringLiteral("arduino-builder left no %1").arg(outcome.hexPath);
                outcome.hexPath.clear();
            }
        }
        break;
    }
    outcome.log = m_output;
    finish(outcome);
}

void SketchCompiler::finish(const BoardOutcome& outcome)
{
    m_lock.reset();
    emit finished(outcome);
}

} // namespace board
