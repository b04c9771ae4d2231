#pragma once

#include "board/board_failure.h"
#include "board/build_error.h"

#include <QMetaType>
#include <QString>
#include <QStringList>

namespace board {

// What one compile, upload, simulation or a mix of them came to: the
// failure if any, with what a user needs to act on it (the path, the
// system's error, the signal, the tool's own words), and the tools' output
// for whoever wants it.
struct BoardOutcome {
    BoardFailure failure = BoardFailure::None;
    // One English line for the command line: the system's reason, the
    // missing program, the compiler's first error.
    QString detail;
    // Debian packages to install, for ToolsMissing.
    QStringList missingPackages;
    // CompileFailed: the line of the sketch text the first error points at
    // (1-based), 0 when the builder did not say.
    int sketchLine = 0;
    // CompileFailed: what the builder rejected the sketch for.
    BuildError buildError;
    // The tool's own words about the failure, untranslated: the compiler's
    // first error, the simulator's error line; empty when it said none.
    QString toolMessage;
    // What the failure is about: the file or folder (FileFailed,
    // SimulatorMissing), or the program (Crashed, TimedOut).
    QString subject;
    // The system's error code (errno) behind the failure, 0 when none.
    int osError = 0;
    // Crashed: the signal that ended the program.
    int signal = 0;
    // SimulatorFailed without words of its own: its exit status.
    int exitStatus = -1;
    // The tools' full output (arduino-builder, then avrdude or what the
    // simulator wrote on its standard error).
    QString log;
    // Once a compile succeeded: the compiled Intel HEX, and the ELF file
    // beside it that also holds the sketch's symbols.
    QString hexPath;
    QString elfPath;
    // The sizes the builder reported, -1 when unknown.
    int flashBytes = -1;
    int sramBytes = -1;

    bool ok() const { return failure == BoardFailure::None; }
};

} // namespace board

Q_DECLARE_METATYPE(board::BoardOutcome)
