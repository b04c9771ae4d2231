#include "board/builder_output.h"

#include <QRegularExpression>

namespace board {

namespace {

using Kind = BuildError::Kind;

int bytesAfter(const QRegularExpression& pattern, const QString& output)
{
    const auto match = pattern.match(output);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// "Maximum is N bytes" of the size line that starts with this.
int mostBytes(const QString& output, QLatin1String sizeLine)
{
    const qsizetype from = output.indexOf(sizeLine);
    if (from < 0) {
        return -1;
    }
    static const QRegularExpression most(QStringLiteral("\\G[^\\n]*Maximum is (\\d+) bytes"));
    const auto match = most.match(output, from);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// Every name in the output that follows the words, each once, in order;
// the linker quotes them `like this'.
QStringList symbolsAfter(const QString& output, const QString& words)
{
    const QRegularExpression symbol(QRegularExpression::escape(words) + QStringLiteral(" `([^'\\n]*)'"));
    QStringList found;
    for (auto it = symbol.globalMatch(output); it.hasNext();) {
        const QString name = it.next().captured(1);
        if (!found.contains(name)) {
            found << name;
        }
    }
    return found;
}

// gcc's "file:line:column: error: message"; the builder keeps the sketch's
// own line numbers through its #line directives. An error outside the
// sketch (in the core) points at no sketch line.
bool readCompilerError(const QString& output, BoardOutcome& outcome)
{
    static const QRegularExpression error(
        QStringLiteral("^([^\\n]*?):(\\d+):(?:\\d+:)? (?:fatal )?error: ([^\\n]*)$"), QRegularExpression::MultilineOption);
    const auto match = error.match(output);
    if (!match.hasMatch()) {
        return false;
    }
    outcome.buildError.kind = Kind::Compiler;
    // An error with no words after it is still named by its whole line.
    outcome.toolMessage = match.captured(3).trimmed();
    if (outcome.toolMessage.isEmpty()) {
        outcome.toolMessage = match.captured(0).trimmed();
    }
    outcome.sketchLine = match.captured(1).endsWith(QLatin1String("sketch.ino")) ? match.captured(2).toInt() : 0;
    outcome.detail = outcome.sketchLine > 0
        ? QStringLiteral("sketch line %1: %2").arg(outcome.sketchLine).arg(outcome.toolMessage)
        : outcome.toolMessage;
    return true;
}

QString quoted(const QStringList& symbols)
{
    QStringList each;
    for (const QString& symbol : symbols) {
        each << QStringLiteral("`%1'").arg(symbol);
    }
    return each.join(QLatin1String(", "));
}

// A program too big for the flash, or variables too big for the SRAM: the
// linker's words for a region too small, or the builder's own check of the
// sizes against the board's, with the sizes when the builder gave them.
bool readMemoryFull(const QString& output, BoardOutcome& outcome)
{
    struct Memory {
        Kind kind;
        QRegularExpression full;
        QLatin1String sizeLine; // the builder's line that gives the sizes
        int (*used)(const QString& output);
        const char* sized;
        const char* unsized;
    };
    static const Memory memories[] = {
        {Kind::FlashFull,
         QRegularExpression(QStringLiteral("region `text' overflowed|will not fit in region `text'|"
                                           "not within region `text'|^Sketch too big"),
                            QRegularExpression::MultilineOption),
         QLatin1String("Sketch uses"), &BuilderOutput::flashBytes, "it takes %1 bytes of flash, the board holds %2",
         "it is too big for the board's flash"},
        {Kind::SramFull,
         QRegularExpression(QStringLiteral("region `data' overflowed|will not fit in region `data'|"
                                           "not within region `data'|^Not enough memory"),
                            QRegularExpression::MultilineOption),
         QLatin1String("Global variables use"), &BuilderOutput::sramBytes,
         "its variables take %1 bytes of SRAM, the board holds %2", "its variables do not fit the board's SRAM"},
    };
    for (const Memory& memory : memories) {
        if (!memory.full.match(output).hasMatch()) {
            continue;
        }
        BuildError& error = outcome.buildError;
        error.kind = memory.kind;
        error.usedBytes = memory.used(output);
        error.mostBytes = mostBytes(output, memory.sizeLine);
        outcome.detail = error.usedBytes >= 0 && error.mostBytes >= 0
            ? QString::fromLatin1(memory.sized).arg(error.usedBytes).arg(error.mostBytes)
            : QString::fromLatin1(memory.unsized);
        return true;
    }
    return false;
}

// What the linker (or the builder's size check after it) said.
bool readLinkError(const QString& output, BoardOutcome& outcome)
{
    BuildError& error = outcome.buildError;
    if (const QStringList missing = symbolsAfter(output, QStringLiteral("undefined reference to")); !missing.isEmpty()) {
        error.kind = Kind::Undefined;
        error.symbols = missing;
        if (error.lacksSetupOrLoop()) {
            outcome.detail = QStringLiteral("no %1 is defined (every sketch needs setup() and loop())")
                                 .arg(missing.join(QLatin1String("() or ")) + QLatin1String("()"));
        } else {
            outcome.detail = QStringLiteral("%1 is used but defined nowhere").arg(quoted(missing));
        }
        return true;
    }
    if (const QStringList twice = symbolsAfter(output, QStringLiteral("multiple definition of")); !twice.isEmpty()) {
        error.kind = Kind::DefinedTwice;
        error.symbols = twice;
        outcome.detail = QStringLiteral("%1 is defined twice (the Arduino core may define it already)").arg(quoted(twice));
        return true;
    }
    return readMemoryFull(output, outcome);
}

// For anything else, the first line that calls itself an error.
void readOtherError(const QString& output, int exitCode, BoardOutcome& outcome)
{
    static const QRegularExpression complaint(QStringLiteral("^[^\\n]*error[^\\n]*$"),
                                              QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
    outcome.toolMessage = complaint.match(output).captured(0).trimmed();
    if (!outcome.toolMessage.isEmpty()) {
        outcome.detail = outcome.toolMessage;
    } else {
        outcome.detail = QStringLiteral("arduino-builder failed (exit status %1)").arg(exitCode);
    }
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
    if (!readCompilerError(output, outcome) && !readLinkError(output, outcome)) {
        readOtherError(output, exitCode, outcome);
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

} // namespace board
