#include "board/sketch_compiler.h"

#include "board/board_tools.h"
#include "board/build_record.h"
#include "board/builder_output.h"
#include "board/tool_exit.h"
#include "generation/sketch_error.h"
#include "platform/folder_maker.h"
#include "platform/output_file.h"
#include "platform/text_conversion.h"

#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cerrno>

namespace board {

namespace {

// The builder wants the sketch in a folder of its own name, and names what
// it builds after the sketch's file.
const QString kSketchFolder = QStringLiteral("/sketch");
const QString kSketchFile = QStringLiteral("/sketch/sketch.ino");
const QString kBuildFolder = QStringLiteral("/build");

QString buildRoot()
{
    // Shared by the window and the command line, so either one's compiled
    // core serves the other.
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/ledmarquee/board");
}

// The files an upgrade of the compiler or of the Arduino core replaces: a
// build recorded before one is built again.
QStringList toolchainFiles()
{
    return {BoardTools::compilerProgram(), BoardTools::corePlatformFile()};
}

const ToolExit::Tool& builder()
{
    static const ToolExit::Tool tool{
        QStringLiteral("arduino-builder"), BoardFailure::ToolsMissing, {QStringLiteral("arduino-builder")},
        QStringLiteral("arduino-builder did not finish within %1 s").arg(SketchCompiler::kTimeLimitMilliseconds / 1000)};
    return tool;
}

BoardOutcome fileFailed(const QString& path, int osError, const QString& detail)
{
    BoardOutcome outcome;
    outcome.failure = BoardFailure::FileFailed;
    outcome.subject = path;
    outcome.osError = osError;
    outcome.detail = detail;
    return outcome;
}

// How often a compile that waits for the build folder looks again: often
// enough that a click joining a build of its text hears of its end at once.
constexpr int kLockPollMilliseconds = 20;

} // namespace

SketchCompiler::SketchCompiler(QObject* parent) : QObject(parent)
{
    // The folder is let go as the outcome is given, so that whoever hears
    // it uses the build before another compile of this process can take
    // the folder.
    connect(&m_life, &JobLife::finished, this, [this](const BoardOutcome& outcome) {
        m_lock.reset();
        emit finished(outcome);
    });
    connect(&m_runner, &ProcessRunner::received, this,
            [this](ProcessRunner::Channel, const QString& text) { m_output += text; });
    connect(&m_runner, &ProcessRunner::finished, this, &SketchCompiler::onFinished);
    m_lockWait.setInterval(kLockPollMilliseconds);
    connect(&m_lockWait, &QTimer::timeout, this, &SketchCompiler::tryTheSharedFolder);
}

SketchCompiler::~SketchCompiler() = default;

void SketchCompiler::setLowPriority(bool low)
{
    m_runner.setLowPriority(low);
}

bool SketchCompiler::isRunning() const
{
    return m_life.isRunning();
}

void SketchCompiler::cancel()
{
    if (m_lockWait.isActive()) {
        m_lockWait.stop();
        BoardOutcome cancelled;
        cancelled.failure = BoardFailure::Cancelled;
        cancelled.detail = QStringLiteral("cancelled while waiting for the build folder");
        // From the event loop, as the runner reports a builder it stopped.
        m_life.finishLater(cancelled);
        return;
    }
    m_runner.cancel();
}

QStringList SketchCompiler::arguments(const QString& root) const
{
    // The flag mends Debian's avr-g++ 5.4, whose headers leave DECIMAL_DIG
    // undefined for the core.
    return {
        QStringLiteral("-compile"),
        QStringLiteral("-hardware"), QString::fromLatin1(BoardTools::kHardwareFolder),
        QStringLiteral("-hardware"), QString::fromLatin1(BoardTools::kBuilderHardwareFolder),
        QStringLiteral("-tools"), QStringLiteral("/usr/bin"),
        QStringLiteral("-fqbn"), QStringLiteral("arduino:avr:mega:cpu=atmega2560"),
        QStringLiteral("-prefs"), QStringLiteral("compiler.cpp.extra_flags=-DDECIMAL_DIG=__DECIMAL_DIG__"),
        QStringLiteral("-build-path"), root + kBuildFolder,
        root + kSketchFile,
    };
}

void SketchCompiler::compile(const QString& sketchText)
{
    if (!m_life.begin()) {
        return;
    }
    m_output.clear();
    m_sketch = sketchText.toUtf8();
    // Without the folders in it, the key is the same in every build folder.
    m_key = BuildRecord::key(BoardTools::builderProgram(), arguments(QString()), m_sketch, toolchainFiles());
    m_waited.start();
    // Two builds in one folder (the window and the command line at once)
    // would spoil each other's objects, so a build holds the folder's lock.
    m_sharedRoot = buildRoot();
    try {
        platform::FolderMaker::make(m_sharedRoot);
    } catch (const generation::SketchError&) {
        buildInOwnFolder();
        return;
    }
    m_lock = std::make_unique<QLockFile>(m_sharedRoot + QStringLiteral("/lock"));
    m_lock->setStaleLockTime(0); // stale only once its process has gone
    tryTheSharedFolder();
}

void SketchCompiler::tryTheSharedFolder()
{
    // Another build's lock is waited for: it is most often the same text's,
    // built in the background, and otherwise a warm build that ends soon,
    // while a folder of one's own costs a cold build of the whole core.
    if (m_lock->tryLock(0)) {
        m_lockWait.stop();
        buildIn(m_sharedRoot);
        return;
    }
    if (m_lock->error() == QLockFile::LockFailedError && m_waited.elapsed() < kLockWaitMilliseconds) {
        if (!m_lockWait.isActive()) {
            m_lockWait.start();
        }
        return;
    }
    m_lockWait.stop();
    buildInOwnFolder();
}

void SketchCompiler::buildInOwnFolder()
{
    if (!m_privateRoot) {
        m_privateRoot = std::make_unique<QTemporaryDir>();
    }
    buildIn(m_privateRoot->path());
}

void SketchCompiler::buildIn(const QString& root)
{
    m_activeRoot = root;
    if (const std::optional<BuildRecord> record = BuildRecord::read(root);
        record && record->buildKey == m_key && record->describes(builtFiles())) {
        BoardOutcome built;
        built.hexPath = buildFile(".hex");
        built.elfPath = buildFile(".elf");
        built.flashBytes = record->flashBytes;
        built.sramBytes = record->sramBytes;
        built.log = record->log;
        m_life.finishLater(built);
        return;
    }
    if (const BoardOutcome prepared = prepare(); !prepared.ok()) {
        m_life.finishLater(prepared);
        return;
    }
    m_runner.setTimeLimit(kTimeLimitMilliseconds);
    m_runner.start(BoardTools::builderProgram(), arguments(root));
}

BoardOutcome SketchCompiler::prepare()
{
    // The record goes before the builder touches a file, so a build cut
    // short leaves none that speaks for it.
    if (!BuildRecord::forget(m_activeRoot)) {
        return fileFailed(m_activeRoot, EACCES,
                          QStringLiteral("cannot remove the earlier build's record from %1").arg(m_activeRoot));
    }
    try {
        platform::FolderMaker::make(m_activeRoot + kSketchFolder);
        platform::FolderMaker::make(m_activeRoot + kBuildFolder);
        platform::OutputFile file(m_activeRoot + kSketchFile);
        file.write(m_sketch);
        file.commit();
    } catch (const generation::SketchError& error) {
        return fileFailed(platform::fromUtf8(error.subject()), error.osError(), platform::fromUtf8(error.description()));
    }
    return {};
}

QString SketchCompiler::buildFile(const char* suffix) const
{
    return m_activeRoot + kBuildFolder + QStringLiteral("/sketch.ino") + QLatin1String(suffix);
}

QStringList SketchCompiler::builtFiles() const
{
    return {buildFile(".hex"), buildFile(".elf")};
}

void SketchCompiler::onFinished(const ProcessRunner::Result& result)
{
    BoardOutcome outcome = ToolExit::outcome(result, builder(), [this](int exitCode) {
        BoardOutcome read = BuilderOutput::read(m_output, exitCode);
        if (read.ok()) {
            read.hexPath = buildFile(".hex");
            read.elfPath = buildFile(".elf");
            if (!QFileInfo::exists(read.hexPath)) {
                read = fileFailed(read.hexPath, ENOENT, QStringLiteral("arduino-builder left no %1").arg(read.hexPath));
            }
        }
        return read;
    });
    outcome.log = m_output;
    if (outcome.ok()) {
        // Written last, once every file it names is whole. A record that
        // cannot be written costs the next compile of this text a build.
        BuildRecord record;
        record.buildKey = m_key;
        record.flashBytes = outcome.flashBytes;
        record.sramBytes = outcome.sramBytes;
        record.log = outcome.log;
        record.write(m_activeRoot, builtFiles());
    }
    m_life.finish(outcome);
}

} // namespace board
