#include "board/avrdude_output.h"

#include <QRegularExpression>

#include <algorithm>

namespace board {

namespace {

constexpr int kBarHashes = 50;

// avrdude 7.1's words for a port it cannot use:
//   avrdude OS error: cannot open port /dev/ttyUSB9: No such file or directory
//   avrdude OS error: cannot set attributes for port /dev/null: Inappropriate ioctl for device
BoardOutcome portFailureIn(QStringView line)
{
    static const QRegularExpression cannotOpen(
        QStringLiteral("cannot (open|set attributes for) (?:port|device) \"?(.*?)\"?: (.*)$"));
    BoardOutcome outcome;
    const auto match = cannotOpen.match(line);
    if (!match.hasMatch()) {
        return outcome;
    }
    const QString port = match.captured(2);
    const QString reason = match.captured(3).trimmed();
    outcome.subject = port;
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

bool complains(QStringView line)
{
    return line.contains(QLatin1String("error"), Qt::CaseInsensitive) ||
           line.contains(QLatin1String("can't"), Qt::CaseInsensitive) ||
           line.contains(QLatin1String("failed"), Qt::CaseInsensitive);
}

} // namespace

void AvrdudeOutput::read(QStringView text)
{
    for (qsizetype end = text.indexOf(QLatin1Char('\n')); end >= 0; end = text.indexOf(QLatin1Char('\n'))) {
        m_line += text.first(end);
        readLine(m_line);
        m_line.clear();
        text = text.sliced(end + 1);
    }
    m_line += text;
    // A bar grows with no line end until it is full.
    readBar(m_line, false);
}

void AvrdudeOutput::readBar(QStringView line, bool complete)
{
    // avrdude draws each bar as 50 '#' after its label: the first bar after
    // "writing N bytes flash" is the write, the first after "verifying
    // flash" the check; the signature read before them is not counted.
    Bar* bar = m_stage == Stage::Writing ? &m_writeBar : m_stage == Stage::Verifying ? &m_verifyBar : nullptr;
    const qsizetype start = line.indexOf(QLatin1String(" | "));
    if (bar == nullptr || bar->drawn || start < 0) {
        return;
    }
    int hashes = 0;
    for (qsizetype i = start + 3; i < line.size() && line[i] == QLatin1Char('#'); ++i) {
        ++hashes;
    }
    bar->hashes = std::min(hashes, kBarHashes);
    bar->drawn = complete;
}

void AvrdudeOutput::readLine(QStringView line)
{
    static const QRegularExpression writing(QStringLiteral("writing (?:\\d+ bytes )?flash"));
    static const QRegularExpression verified(QStringLiteral("(\\d+) bytes of flash verified"));
    static const QRegularExpression silent(
        QStringLiteral("not responding|timeout|getsync|unable to open programmer|initialization failed|Invalid device signature|"
                       "Expected signature|double check connections"),
        QRegularExpression::CaseInsensitiveOption);

    readBar(line, true);
    if (m_stage == Stage::Connecting && writing.match(line).hasMatch()) {
        m_stage = Stage::Writing;
    } else if (m_stage != Stage::Verifying && line.contains(QLatin1String("verifying flash"))) {
        m_stage = Stage::Verifying;
    }
    m_answered = m_answered || line.contains(QLatin1String("device signature"), Qt::CaseInsensitive);
    if (m_portFailure.ok()) {
        m_portFailure = portFailureIn(line);
    }
    if (const auto match = verified.match(line); match.hasMatch()) {
        m_verifiedBytes = match.captured(1);
    }
    m_verifyError = m_verifyError || line.contains(QLatin1String("verification error")) ||
                    line.contains(QLatin1String("verification mismatch"));
    m_silent = m_silent || silent.match(line).hasMatch();
    if (m_firstComplaint.isEmpty() && complains(line)) {
        m_firstComplaint = line.trimmed().toString();
    }
}

int AvrdudeOutput::uploadPercent() const
{
    return m_writeBar.hashes + m_verifyBar.hashes;
}

bool AvrdudeOutput::boardAnswered() const
{
    return m_answered;
}

BoardOutcome AvrdudeOutput::end(int exitCode)
{
    if (!m_line.isEmpty()) {
        readLine(m_line);
        m_line.clear();
    }
    BoardOutcome outcome;
    if (exitCode == 0 && !m_verifiedBytes.isEmpty()) {
        outcome.detail = QStringLiteral("%1 bytes of flash written and verified").arg(m_verifiedBytes);
        return outcome;
    }
    if (!m_portFailure.ok()) {
        return m_portFailure;
    }
    if (m_verifyError) {
        outcome.failure = BoardFailure::VerifyFailed;
        outcome.detail = QStringLiteral("the flash read back differs from the hex");
        return outcome;
    }
    if (m_silent) {
        outcome.failure = BoardFailure::BoardNotAnswering;
        outcome.detail = QStringLiteral("no Mega 2560 bootloader answered on the port");
        return outcome;
    }
    outcome.failure = exitCode == 0 ? BoardFailure::VerifyFailed : BoardFailure::Other;
    if (exitCode == 0) {
        outcome.detail = QStringLiteral("avrdude did not report the flash verified");
    } else {
        outcome.toolMessage = m_firstComplaint;
        outcome.detail = m_firstComplaint.isEmpty() ? QStringLiteral("avrdude failed (exit status %1)").arg(exitCode)
                                                    : m_firstComplaint;
    }
    return outcome;
}

} // namespace board
