#pragma once

#include "board/board_failure.h"

#include <QMetaType>
#include <QString>
#include <QStringList>

namespace board {

// What one compile, upload or both came to: the failure if any, with what a
// user needs to act on it, and the tools' own output for whoever wants it.
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
    // The tools' full output (arduino-builder, then avrdude).
    QString log;
    // The compiled Intel HEX, once a compile succeeded.
    QString hexPath;
    // The sizes the builder reported, -1 when unknown.
    int flashBytes = -1;
    int sramBytes = -1;

    bool ok() const { return failure == BoardFailure::None; }
};

} // namespace board

Q_DECLARE_METATYPE(board::BoardOutcome)
