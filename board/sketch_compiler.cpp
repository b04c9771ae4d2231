#include "board/sketch_compiler.h"

#include "board/board_tools.h"
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

} // namespace

SketchCompiler::SketchCompiler(QObject* parent) : QObject(parent)
{
    connect(&m_life, &JobLife::finished, this, &SketchCompiler::finished);
    connect(&m_runner, &ProcessRunner::received, this,
            [this](ProcessRunner::Channel, const QString& text) { m_output += text; });
    connect(&m_runner, &ProcessRunner::finished, this, &SketchCompiler::onFinished);
}

SketchCompiler::~SketchCompiler() = default;

bool SketchCompiler::isRunning() const
{
    return m_life.isRunning();
}

void SketchCompiler::cancel()
{
    m_runner.cancel();
}

void SketchCompiler::compile(const QString& sketchText)
{
    if (!m_life.begin()) {
        return;
    }
    m_output.clear();
    if (const BoardOutcome prepared = prepare(sketchText); !prepared.ok()) {
        m_lock.reset();
        m_life.finishLater(prepared);
        return;
    }
    // The flag mends Debian's avr-g++ 5.4, whose headers leave DECIMAL_DIG
    // undefined for the core.
    const QStringList arguments{
        QStringLiteral("-compile"),
        QStringLiteral("-hardware"), QString::fromLatin1(BoardTools::kHardwareFolder),
        QStringLiteral("-hardware"), QString::fromLatin1(BoardTools::kBuilderHardwareFolder),
        QStringLiteral("-tools"), QStringLiteral("/usr/bin"),
        QStringLiteral("-fqbn"), QStringLiteral("arduino:avr:mega:cpu=atmega2560"),
        QStringLiteral("-prefs"), QStringLiteral("compiler.cpp.extra_flags=-DDECIMAL_DIG=__DECIMAL_DIG__"),
        QStringLiteral("-build-path"), m_activeRoot + kBuildFolder,
        m_activeRoot + kSketchFile,
    };
    m_runner.setTimeLimit(kTimeLimitMilliseconds);
    m_runner.start(BoardTools::builderProgram(), arguments);
}

BoardOutcome SketchCompiler::prepare(const QString& sketchText)
{
    // Two builds in one folder (the window and the command line at once)
    // would spoil each other's objects; the second one builds on its own.
    const QString root = buildRoot();
    m_activeRoot = root;
    try {
        platform::FolderMaker::make(root);
    } catch (const generation::SketchError&) {
        // Without a shared folder, the compiler builds in one of its own.
    }
    m_lock = std::make_unique<QLockFile>(root + QStringLiteral("/lock"));
    m_lock->setStaleLockTime(0); // stale only once its process has gone
    if (!m_lock->tryLock(0)) {
        m_lock.reset();
        if (!m_privateRoot) {
            m_privateRoot = std::make_unique<QTemporaryDir>();
        }
        m_activeRoot = m_privateRoot->path();
    }
    try {
        platform::FolderMaker::make(m_activeRoot + kSketchFolder);
        platform::FolderMaker::make(m_activeRoot + kBuildFolder);
        platform::OutputFile file(m_activeRoot + kSketchFile);
        file.write(sketchText.toUtf8());
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
    m_lock.reset();
    m_life.finish(outcome);
}

} // namespace board
