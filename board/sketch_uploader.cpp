#include "board/sketch_uploader.h"

#include "board/board_tools.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTimer>

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

bool boardAnswered(const QString& output)
{
    return output.contains(QLatin1String("device signature"), Qt::CaseInsensitive);
}

// avrdude 7.1 reports a port it cannot open and then keeps running,
// spinning, without ever exiting: the uploader ends it on this message.
//   avrdude OS error: cannot open port /dev/ttyUSB9: No such file or directory
//   avrdude OS error: cannot set attributes for port /dev/null: Inappropriate ioctl for device
BoardOutcome readPortFailure(const QString& output)
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

// The first line avrdude starts with "avrdude" and that reads as an error,
// for the detail when nothing more specific matched.
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

SketchUploader::SketchUploader(QObject* parent) : QObject(parent)
{
    qRegisterMetaType<board::BoardOutcome>();
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_process != nullptr) {
            m_timedOut = true;
            m_process->kill();
        }
    });
}

SketchUploader::~SketchUploader()
{
    if (m_process != nullptr) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(1000);
    }
}

bool SketchUploader::isRunning() const
{
    return m_process != nullptr;
}

void SketchUploader::cancel()
{
    if (m_process != nullptr) {
        m_cancelled = true;
        m_process->kill();
    }
}

void SketchUploader::upload(const QString& hexPath, const QString& port)
{
    if (m_process != nullptr) {
        return;
    }
    m_output.clear();
    m_hexPath = hexPath;
    m_percent = -1;
    m_cancelled = false;
    m_timedOut = false;
    m_answered = false;
    m_portFailure = BoardOutcome();

    auto failEarly = [this](BoardFailure failure, const QString& detail, const QStringList& packages = {}) {
        BoardOutcome outcome;
        outcome.failure = failure;
        outcome.detail = detail;
        outcome.missingPackages = packages;
        outcome.hexPath = m_hexPath;
        QTimer::singleShot(0, this, [this, outcome] { emit finished(outcome); });
    };
    if (port.trimmed().isEmpty()) {
        failEarly(BoardFailure::NoPort, QStringLiteral("no serial port was given"));
        return;
    }
    if (const QStringList missing = BoardTools::missingForUpload(); !missing.isEmpty()) {
        failEarly(BoardFailure::ToolsMissing,
                  QStringLiteral("avrdude is not installed (apt install %1)").arg(missing.join(QLatin1Char(' '))),
                  missing);
        return;
    }
    // avrdude splits -U at colons, so a path with one would name another file.
    if (hexPath.contains(QLatin1Char(':')) || !QFileInfo(hexPath).isFile()) {
        failEarly(BoardFailure::Other, QStringLiteral("no usable hex file at %1").arg(hexPath));
        return;
    }

    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    // avrdude's messages are read and matched in English.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    m_process->setProcessEnvironment(environment);
    connect(m_process, &QProcess::readyRead, this, &SketchUploader::onOutput);
    connect(m_process, &QProcess::finished, this, &SketchUploader::onFinished);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            BoardOutcome outcome;
            outcome.failure = BoardFailure::ToolsMissing;
            outcome.missingPackages = {QStringLiteral("avrdude")};
            outcome.detail = QStringLiteral("cannot start avrdude: %1").arg(m_process->errorString());
            outcome.hexPath = m_hexPath;
            finish(outcome);
        }
    });
    // -D: the Mega's bootloader refuses a chip erase and erases each page as
    // it writes it.
    const QStringList arguments{
        QStringLiteral("-p"), QStringLiteral("atmega2560"),
        QStringLiteral("-c"), QStringLiteral("wiring"),
        QStringLiteral("-b"), QStringLiteral("115200"),
        QStringLiteral("-D"),
        QStringLiteral("-P"), port,
        QStringLiteral("-U"), QStringLiteral("flash:w:%1:i").arg(hexPath),
    };
    m_timer.start(kAnswerMilliseconds);
    m_process->start(BoardTools::avrdudeProgram(), arguments);
}

void SketchUploader::onOutput()
{
    const QByteArray bytes = m_process->readAll();
    if (bytes.isEmpty()) {
        return;
    }
    m_output += QString::fromLocal8Bit(bytes);
    if (m_portFailure.ok() && !m_cancelled && !m_timedOut) {
        m_portFailure = readPortFailure(m_output);
        if (!m_portFailure.ok()) {
            m_process->kill();
            return;
        }
    }
    // Once the board has answered, only a stall ends the upload: a big
    // sketch takes longer than any fixed limit would allow.
    m_answered = m_answered || boardAnswered(m_output);
    if (m_answered) {
        m_timer.start(kStallMilliseconds);
    }
    const int percent = uploadPercent(m_output);
    if (percent != m_percent) {
        m_percent = percent;
        emit progress(percent);
    }
}

void SketchUploader::onFinished(int exitCode, QProcess::ExitStatus status)
{
    onOutput();
    BoardOutcome outcome;
    if (m_cancelled) {
        outcome.failure = BoardFailure::Cancelled;
        outcome.detail = QStringLiteral("the upload was cancelled");
    } else if (!m_portFailure.ok()) {
        outcome = m_portFailure;
    } else if (m_timedOut) {
        // Without a device signature nothing ever answered: that is a wrong
        // port or board, not a slow one.
        outcome.failure = m_answered ? BoardFailure::TimedOut : BoardFailure::BoardNotAnswering;
        outcome.detail = m_answered
            ? QStringLiteral("avrdude wrote nothing for %1 s").arg(kStallMilliseconds / 1000)
            : QStringLiteral("no bootloader answered within %1 s").arg(kAnswerMilliseconds / 1000);
    } else {
        outcome = readAvrdudeOutput(m_output, status == QProcess::NormalExit ? exitCode : -1);
    }
    outcome.log = m_output;
    outcome.hexPath = m_hexPath;
    finish(outcome);
}

void SketchUploader::finish(BoardOutcome outcome)
{
    m_timer.stop();
    if (m_process != nullptr) {
        m_process->disconnect(this);
        m_process->deleteLater();
        m_process = nullptr;
    }
    if (outcome.ok() && m_percent != 100) {
        m_percent = 100;
        emit progress(100);
    }
    emit finished(outcome);
}

int SketchUploader::uploadPercent(const QString& output)
{
    // The bar after "writing N bytes flash" is the first half, the one after
    // "verifying flash" the second; the signature read before is not counted.
    static const QRegularExpression writing(QStringLiteral("writing (?:\\d+ bytes )?flash"));
    const qsizetype verifying = output.indexOf(QLatin1String("verifying flash"));
    return barLength(output, output.indexOf(writing)) + barLength(output, verifying);
}

BoardOutcome SketchUploader::readAvrdudeOutput(const QString& output, int exitCode)
{
    BoardOutcome outcome;
    static const QRegularExpression verified(QStringLiteral("(\\d+) bytes of flash verified"));
    if (const auto match = verified.match(output); exitCode == 0 && match.hasMatch()) {
        outcome.detail = QStringLiteral("%1 bytes of flash written and verified").arg(match.captured(1));
        return outcome;
    }

    if (BoardOutcome portFailure = readPortFailure(output + QLatin1Char('\n')); !portFailure.ok()) {
        return portFailure;
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
