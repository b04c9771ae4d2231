#include "platform/sketch_folder.h"

#include "platform/text_conversion.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace platform {

namespace {

// The launcher entry that an install puts beside the program's bin folder;
// a build folder or an unpacked folder never has it.
bool isInstalledProgramFolder(const QString& executableFolder)
{
    const QDir folder(executableFolder);
    return folder.dirName() == QStringLiteral("bin")
        && QFileInfo::exists(folder.filePath(QStringLiteral("../share/applications/ledmarquee.desktop")));
}

} // namespace

SketchFolder::SketchFolder(const QString& executableFolder, const QString& homeFolder)
    : m_installed(isInstalledProgramFolder(executableFolder))
    , m_folder(m_installed ? QDir(homeFolder).filePath(QStringLiteral("Arduino")) : executableFolder)
{
}

SketchFolder SketchFolder::current()
{
    return SketchFolder(QCoreApplication::applicationDirPath(), QDir::homePath());
}

QString SketchFolder::sketchbook()
{
    return QDir(QDir::homePath()).filePath(QStringLiteral("Arduino"));
}

std::string SketchFolder::toolFolder() const
{
    return toUtf8(QDir::toNativeSeparators(QDir::cleanPath(m_folder)));
}

} // namespace platform
