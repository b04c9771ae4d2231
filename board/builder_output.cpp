#include "board/builder_output.h"

#include <QRegularExpression>

namespace board {

namespace {

int bytesAfter(const QRegularExpression& pattern, const QString& output)
{
    const auto match = pattern.match(output);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

} // namespace

BoardOutcome BuilderOutput::read(const QString& output, int exitCode)
{
    BoardOutcome outcome;
    if (exitCode == 0) {
        outcome.flashBytes = flashBytes(output);
        outcome.sramBytes = sramBytes(output);
        return outcome;
    }
    outcome.failure = BoardFailure::CompileFailed;
    const Error error = firstError(output);
    outcome.sketchLine = error.sketchLine;
    if (error.message.isEmpty()) {
        outcome.detail = exitCode < 0 ? QStringLiteral("arduino-builder ended abnormally")
                                      : QStringLiteral("arduino-builder failed (exit status %1)").arg(exitCode);
    } else if (error.sketchLine > 0) {
        outcome.detail = QStringLiteral("sketch line %1: %2").arg(error.sketchLine).arg(error.message);
    } else {
        outcome.detail = error.message;
    }
    return outcome;
}

int BuilderOutput::flashBytes(const QString& output)
{
    static const QRegularExpression flash(QStringLiteral("Sketch uses (\\d+) bytes"));
    return bytesAfter(flash, output);
}

int BuilderOutput::sramBytes(const QString& output)
{
    static const QRegularExpression sram(QStringLiteral("Global variables use (\\d+) bytes"));
    return bytesAfter(sram, output);
}

BuilderOutput::Error BuilderOutput::firstError(const QString& output)
{
    // gcc's "file:line:column: error: message"; the builder keeps the
    // sketch's own line numbers through its #line directives.
    static const QRegularExpression error(
        QStringLiteral("^(.*?):(\\d+):(?:\\d+:)? (?:fatal )?error: (.*)$"), QRegularExpression::MultilineOption);
    const auto match = error.match(output);
    if (!match.hasMatch()) {
        return {};
    }
    const bool inSketch = match.captured(1).endsWith(QStringLiteral("sketch.ino"));
    return {inSketch ? match.captured(2).toInt() : 0, match.captured(3).trimmed()};
}

} // namespace board
