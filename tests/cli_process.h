#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <functional>

namespace tests {

struct CliResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the command-line tool as a separate process and waits for it;
// childSetup, when given, runs in the child before the tool starts, and
// variables ("NAME=value") are added to the child's environment.
inline CliResult runCli(const QStringList& arguments, const QByteArray& input = {},
                        const QString& program = QStringLiteral(LEDMARQUEE_CLI),
                        const std::function<void()>& childSetup = {}, const QStringList& variables = {})
{
    QProcess process;
    if (childSetup) {
        process.setChildProcessModifier(childSetup);
    }
    if (!variables.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString& variable : variables) {
            const qsizetype equals = variable.indexOf(QLatin1Char('='));
            environment.insert(variable.left(equals), variable.mid(equals + 1));
        }
        process.setProcessEnvironment(environment);
    }
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
