#include "board/sketch_compiler.h"

#include "board/board_tools.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>
#include <unistd.h>

namespace board {

namespace {

// A cold build compiles the whole core; this leaves room for a slow disk.
constexpr int kTimeLimitMilliseconds = 180000;

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
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_process != nullptr) {
            m_timedOut = true;
            stopBuilder();
        }
    });
}

SketchCompiler::~SketchCompiler()
{
    if (m_process != nullptr) {
        m_process->disconnect(this);
        stopBuilder();
        m_process->waitForFinished(1000);
    }
}

void SketchCompiler::stopBuilder()
{
    // The builder runs the compilers as children of its own; ending only the
    // builder would leave them writing into the build folder the next
    // compile uses, so the whole process group goes.
    if (const qint64 pid = m_process->processId(); pid > 0) {
        ::kill(-static_cast<pid_t>(pid), SIGKILL);
    }
    m_process->kill();
}

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
    return m_process != nullptr;
}

void SketchCompiler::cancel()
{
    if (m_process != nullptr) {
        m_cancelled = true;
        stopBuilder();
    }
}

void SketchCompiler::compile(const QString& sketchText)
{
    if (m_process != nullptr) {
        return;
    }
    m_output.clear();
    m_cancelled = false;
    m_timedOut = false;

    // Failures found before the builder starts are reported after compile()
    // returns, as the builder's own are.
    auto failEarly = [this](BoardOutcome outcome) {
        m_lock.reset();
        QTimer::singleShot(0, this, [this, outcome] { emit finished(outcome); });
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

    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->setChildProcessModifier([] { ::setpgid(0, 0); });
    connect(m_process, &QProcess::readyRead, this,
            [this] { m_output += QString::fromUtf8(m_process->readAll()); });
    connect(m_process, &QProcess::finished, this, &SketchCompiler::onFinished);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            BoardOutcome outcome;
            outcome.failure = BoardFailure::ToolsMissing;
            outcome.missingPackages = {QStringLiteral("arduino-builder")};
            outcome.detail = QStringLiteral("cannot start arduino-builder: %1").arg(m_process->errorString());
            finish(outcome);
        }
    });
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
    m_timer.start(kTimeLimitMilliseconds);
    m_process->start(BoardTools::builderProgram(), arguments);
}

void SketchCompiler::onFinished(int exitCode, QProcess::ExitStatus status)
{
    m_output += QString::fromUtf8(m_process->readAll());
    BoardOutcome outcome;
    outcome.log = m_output;
    if (m_cancelled) {
        outcome.failure = BoardFailure::Cancelled;
        outcome.detail = QStringLiteral("compiling was cancelled");
    } else if (m_timedOut) {
        outcome.failure = BoardFailure::TimedOut;
        outcome.detail = QStringLiteral("arduino-builder did not finish within %1 s").arg(kTimeLimitMilliseconds / 1000);
    } else if (status != QProcess::NormalExit || exitCode != 0) {
        outcome.failure = BoardFailure::CompileFailed;
        const auto [line, message] = firstError(m_output);
        outcome.sketchLine = line;
        if (!message.isEmpty()) {
            outcome.detail = line > 0 ? QStringLiteral("sketch line %1: %2").arg(line).arg(message) : message;
        } else {
            outcome.detail = QStringLiteral("arduino-builder failed (exit status %1)").arg(exitCode);
        }
    } else {
        outcome.hexPath = m_activeRoot + QStringLiteral("/build/sketch.ino.hex");
        readSizes(m_output, outcome);
        if (!QFileInfo::exists(outcome.hexPath)) {
            outcome.failure = BoardFailure::CompileFailed;
            outcome.detail = QStringLiteral("arduino-builder left no %1").arg(outcome.hexPath);
            outcome.hexPath.clear();
        }
    }
    finish(outcome);
}

void SketchCompiler::finish(BoardOutcome outcome)
{
    m_timer.stop();
    m_lock.reset();
    if (m_process != nullptr) {
        if (outcome.log.isEmpty()) {
            outcome.log = m_output;
        }
        m_process->disconnect(this);
        m_process->deleteLater();
        m_process = nullptr;
    }
    emit finished(outcome);
}

void SketchCompiler::readSizes(const QString& builderOutput, BoardOutcome& outcome)
{
    static const QRegularExpression flash(QStringLiteral("Sketch uses (\\d+) bytes"));
    static const QRegularExpression sram(QStringLiteral("Global variables use (\\d+) bytes"));
    if (const auto match = flash.match(builderOutput); match.hasMatch()) {
        outcome.flashBytes = match.captured(1).toInt();
    }
    if (const auto match = sram.match(builderOutput); match.hasMatch()) {
        outcome.sramBytes = match.captured(1).toInt();
    }
}

std::pair<int, QString> SketchCompiler::firstError(const QString& builderOutput)
{
    // gcc's "file:line:column: error: message"; the builder keeps the
    // sketch's own line numbers through its #line directives.
    static const QRegularExpression error(
        QStringLiteral("^(.*?):(\\d+):(?:\\d+:)? (?:fatal )?error: (.*)$"), QRegularExpression::MultilineOption);
    const auto match = error.match(builderOutput);
    if (!match.hasMatch()) {
        return {0, QString()};
    }
    const bool inSketch = match.captured(1).endsWith(QStringLiteral("sketch.ino"));
    const QString message = match.captured(3).trimmed();
    return {inSketch ? match.captured(2).toInt() : 0, message};
}

} // namespace board
