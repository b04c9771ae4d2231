#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

namespace tests {

struct CliResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the command-line tool as a separate process and waits for it.
inline CliResult runCli(const QStringList& arguments, const QByteArray& input = {},
                        const QString& program = QStringLiteral(LEDMARQUEE_CLI))
{
    QProcess process;
    process.start(program, arguments);
    process.waitForStarted();
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(120000);
    CliResult result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

} // namespace tests
