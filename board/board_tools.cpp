#include "board/board_tools.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace board {

QString BoardTools::builderProgram()
{
    return QStandardPaths::findExecutable(QStringLiteral("arduino-builder"));
}

QString BoardTools::compilerProgram()
{
    return QStandardPaths::findExecutable(QStringLiteral("avr-g++"));
}

QString BoardTools::avrdudeProgram()
{
    return QStandardPaths::findExecutable(QStringLiteral("avrdude"));
}

QString BoardTools::corePlatformFile()
{
    return QString::fromLatin1(kCoreFolder) + QStringLiteral("/platform.txt");
}

QString BoardTools::simulatorPath()
{
    // The build gives the way from the programs' folder to the simulator's,
    // the same installed and in the build tree.
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/')
                           + QStringLiteral(LEDMARQUEE_SIMULATOR_FROM_PROGRAMS));
}

QString BoardTools::simulatorProgram()
{
    const QString path = simulatorPath();
    return QFileInfo(path).isExecutable() ? path : QString();
}

QStringList BoardTools::missingForCompile()
{
    QStringList missing;
    if (builderProgram().isEmpty()) {
        missing << QStringLiteral("arduino-builder");
    }
    // The core package brings the AVR compiler with it.
    if (!QDir(QString::fromLatin1(kCoreFolder)).exists() || compilerProgram().isEmpty()) {
        missing << QStringLiteral("arduino-core-avr");
    }
    return missing;
}

QStringList BoardTools::missingForUpload()
{
    return avrdudeProgram().isEmpty() ? QStringList{QStringLiteral("avrdude")} : QStringList{};
}

QStringList BoardTools::missingForAll()
{
    return missingForCompile() + missingForUpload();
}

} // namespace board
