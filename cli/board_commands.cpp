#include "cli/board_commands.h"

#include "board/board_job.h"
#include "board/port_finder.h"
#include "cli/error_line.h"
#include "cli/interrupt_watch.h"
#include "platform/output_file.h"

#include <QEventLoop>
#include <QFile>

#include <cstdio>

namespace cli {

namespace {

QString usbIds(const board::PortFinder::Port& port)
{
    if (!port.vendorId || !port.productId) {
        return QStringLiteral("-");
    }
    return QStringLiteral("%1:%2").arg(*port.vendorId, 4, 16, QLatin1Char('0')).arg(*port.productId, 4, 16, QLatin1Char('0'));
}

} // namespace

QString BoardCommands::failureLine(const board::BoardOutcome& outcome)
{
    using board::BoardFailure;
    switch (outcome.failure) {
    case BoardFailure::None:
        return {};
    case BoardFailure::ToolsMissing:
        return QStringLiteral("the Arduino tools are missing: sudo apt install %1")
            .arg(outcome.missingPackages.join(QLatin1Char(' ')));
    case BoardFailure::CompileFailed:
        if (outcome.buildError.kind == board::BuildError::Kind::Compiler
            || outcome.buildError.kind == board::BuildError::Kind::Unknown) {
            return QStringLiteral("the sketch does not compile: %1").arg(outcome.detail);
        }
        return QStringLiteral("the sketch does not link: %1").arg(outcome.detail);
    case BoardFailure::NoPort:
        return QStringLiteral("no serial port was given");
    case BoardFailure::PortNotFound:
        return QStringLiteral("upload failed: %1 (see --list-ports)").arg(outcome.detail);
    case BoardFailure::PermissionDenied:
        return QStringLiteral("upload failed: %1 (join the dialout group: sudo usermod -aG dialout $USER, "
                              "then log in again)")
            .arg(outcome.detail);
    case BoardFailure::PortBusy:
        return QStringLiteral("upload failed: %1 (close the program using the port, such as a serial monitor)")
            .arg(outcome.detail);
    case BoardFailure::BoardNotAnswering:
        return QStringLiteral("upload failed: %1 (is it a Mega 2560 on this port? check the USB cable)")
            .arg(outcome.detail);
    case BoardFailure::Crashed:
    case BoardFailure::FileFailed:
    case BoardFailure::SimulatorMissing:
    case BoardFailure::SimulatorFailed:
    case BoardFailure::SimulatorUnreadable:
        // Not the board's: the line says what failed.
        return outcome.detail;
    case BoardFailure::VerifyFailed:
    case BoardFailure::TimedOut:
    case BoardFailure::Cancelled:
    case BoardFailure::Other:
        break;
    }
    return QStringLiteral("upload failed: %1").arg(outcome.detail);
}

int BoardCommands::listPorts()
{
    for (const board::PortFinder::Port& port : board::PortFinder().ports()) {
        std::printf("%s\t%s\t%s\n", port.path.toUtf8().constData(), usbIds(port).toUtf8().constData(),
                    port.description.toUtf8().constData());
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

int BoardCommands::send(const Options& options, const std::string& sketch, platform::OutputFile* hexFile)
{
    const bool progress = stderrIsTerminal();
    const bool upload = options.upload.has_value();
    QEventLoop loop;
    board::BoardOutcome outcome;
    // It outlives the run: the hex may sit in a folder its compiler owns.
    board::BoardJob job;

    // An interrupt cancels the run so that its compilers are ended with it.
    const InterruptWatch interruptWatch([&job] { job.cancel(); });

    bool barShown = false;
    QObject::connect(&job, &board::BoardJob::stageChanged, [progress](board::BoardJob::Stage stage) {
        if (progress && stage == board::BoardJob::Stage::Compiling) {
            std::fputs("compiling...\n", stderr);
        }
    });
    QObject::connect(&job, &board::BoardJob::progress, [progress, &barShown](int percent) {
        if (progress) {
            std::fprintf(stderr, "\ruploading %3d%%", percent);
            std::fflush(stderr);
            barShown = true;
        }
    });
    QObject::connect(&job, &board::BoardJob::finished, [&](const board::BoardOutcome& result) {
        outcome = result;
        loop.quit();
    });
    const QString text = QString::fromStdString(sketch);
    if (upload) {
        job.start(text, *options.upload);
    } else {
        job.compile(text);
    }
    loop.exec();
    if (barShown) {
        std::fputs("\n", stderr);
    }

    // The hex is written whenever the compile succeeded, also when the
    // upload then failed; a failure to write it is reported as every other
    // write failure is.
    if (hexFile != nullptr && !outcome.hexPath.isEmpty() && outcome.failure != board::BoardFailure::CompileFailed) {
        QFile compiled(outcome.hexPath);
        if (!compiled.open(QIODevice::ReadOnly)) {
            printError(QStringLiteral("cannot read %1: %2").arg(outcome.hexPath, compiled.errorString()));
            return kBoardFailed;
        }
        hexFile->write(compiled.readAll());
        hexFile->commit();
    }
    if (outcome.failure == board::BoardFailure::Cancelled) {
        printError(QStringLiteral("interrupted"));
        return kInterrupted;
    }
    if (!outcome.ok()) {
        printError(failureLine(outcome));
        return kBoardFailed;
    }
    if (progress) {
        std::fprintf(stderr, "%s (flash %d bytes, SRAM %d bytes)\n",
                     upload ? outcome.detail.toUtf8().constData() : "compiled", outcome.flashBytes,
                     outcome.sramBytes);
    }
    return 0;
}

} // namespace cli
