#include "board/avrdude_output.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace board {

namespace {

// avrdude draws each bar as 50 '#' after its label, with no line end until
// the bar is full.
int barLength(const QString& output, qsizetype from)
{
    if (from < 0) {
        return 0;
    }
    const qsizetype bar = output.indexOf(QLatin1String(" | "), from);
    if (bar < 0) {
        return 0;
    }
    int hashes = 0;
    for (qsizetype i = bar + 3; i < output.size() && output.at(i) == QLatin1Char('#'); ++i) {
        ++hashes;
    }
    return std::min(hashes, 50);
}

// The first line that reads as an error, for the detail when nothing more
// specific matched.
QString firstComplaint(const QString& output)
{
    const QStringList lines = output.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const QString trimmed = line.trimmed();
        if (trimmed.contains(QLatin1String("error"), Qt::CaseInsensitive) ||
            trimmed.contains(QLatin1String("can't"), Qt::CaseInsensitive) ||
            trimmed.contains(QLatin1String("failed"), Qt::CaseInsensitive)) {
            return trimmed;
        }
    }
    return QString();
}

} // namespace

bool AvrdudeOutput::boardAnswered(const QString& output)
{
    return output.contains(QLatin1String("device signature"), Qt::CaseInsensitive);
}

// avrdude 7.1's words for a port it cannot use:
//   avrdude OS error: cannot open port /dev/ttyUSB9: No such file or directory
//   avrdude OS error: cannot set attributes for port /dev/null: Inappropriate ioctl for device
// Only complete lines are read, so a reason still arriving is not cut short.
BoardOutcome AvrdudeOutput::portFailure(const QString& output)
{
    static const QRegularExpression cannotOpen(
        QStringLiteral("cannot (open|set attributes for) (?:port|device) \"?(.*?)\"?: ([^\\n]*)\\n"));
    BoardOutcome outcome;
    const auto match = cannotOpen.match(output);
    if (!match.hasMatch()) {
        return outcome;
    }
    const QString port = match.captured(2);
    const QString reason = match.captured(3).trimmed();
    outcome.detail = QStringLiteral("cannot open %1: %2").arg(port, reason);
    if (reason.contains(QLatin1String("No such file"), Qt::CaseInsensitive) ||
        reason.contains(QLatin1String("No such device"), Qt::CaseInsensitive)) {
        outcome.failure = BoardFailure::PortNotFound;
    } else if (reason.contains(QLatin1String("Permission denied"), Qt::CaseInsensitive) ||
               reason.contains(QLatin1String("Operation not permitted"), Qt::CaseInsensitive)) {
        outcome.failure = BoardFailure::PermissionDenied;
    } else if (reason.contains(QLatin1String("busy"), Qt::CaseInsensitive)) {
        outcome.failure = BoardFailure::PortBusy;
    } else if (match.captured(1) != QLatin1String("open") ||
               reason.contains(QLatin1String("Inappropriate ioctl"), Qt::CaseInsensitive)) {
        // It opened but is no serial port: /dev/null, a plain file.
        outcome.failure = BoardFailure::PortNotFound;
        outcome.detail = QStringLiteral("%1 is not a serial port (%2)").arg(port, reason);
    } else {
        outcome.failure = BoardFailure::Other;
    }
    return outcome;
}

int AvrdudeOutput::uploadPercent(const QString& output)
{
    // The bar after "writing N bytes flash" is the first half, the one after
    // "verifying flash" the second; the signature read before is not counted.
    static const QRegularExpression writing(QStringLiteral("writing (?:\\d+ bytes )?flash"));
    const qsizetype verifying = output.indexOf(QLatin1String("verifying flash"));
    return barLength(output, output.indexOf(writing)) + barLength(output, verifying);
}

BoardOutcome AvrdudeOutput::read(const QString& output, int exitCode)
{
    BoardOutcome outcome;
    static const QRegularExpression verified(QStringLiteral("(\\d+) bytes of flash verified"));
    if (const auto match = verified.match(output); exitCode == 0 && match.hasMatch()) {
        outcome.detail = QStringLiteral("%1 bytes of flash written and verified").arg(match.captured(1));
        return outcome;
    }

    if (BoardOutcome failure = portFailure(output + QLatin1Char('\n')); !failure.ok()) {
        return failure;
    }

    if (output.contains(QLatin1String("verification error")) || output.contains(QLatin1String("verification mismatch"))) {
        outcome.failure = BoardFailure::VerifyFailed;
        outcome.detail = QStringLiteral("the flash read back differs from the hex");
        return outcome;
    }

    static const QRegularExpression silent(
        QStringLiteral("not responding|timeout|getsync|unable to open programmer|initialization failed|Invalid device signature|"
                       "Expected signature|double check connections"),
        QRegularExpression::CaseInsensitiveOption);
    if (silent.match(output).hasMatch()) {
        outcome.failure = BoardFailure::BoardNotAnswering;
        outcome.detail = QStringLiteral("no Mega 2560 bootloader answered on the port");
        return outcome;
    }

    outcome.failure = exitCode == 0 ? BoardFailure::VerifyFailed : BoardFailure::Other;
    const QString complaint = firstComplaint(output);
    if (exitCode == 0) {
        outcome.detail = QStringLiteral("avrdude did not report the flash verified");
    } else {
        outcome.detail = complaint.isEmpty() ? QStringLiteral("avrdude failed (exit status %1)").arg(exitCode) : complaint;
    }
    return outcome;
}

} // namespace board
