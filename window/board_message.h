#pragma once

#include "board/board_outcome.h"

#include <QCoreApplication>
#include <QString>

namespace window {

// Words the outcome of sending a sketch to the board for the window's
// status line: what happened, in plain Traditional Chinese, and what the
// user can do about it. Finding out what happened is the board layer's.
class BoardMessage {
    Q_DECLARE_TR_FUNCTIONS(window::BoardMessage)

public:
    // port is the one the sketch was sent to.
    static QString describe(const board::BoardOutcome& outcome, const QString& port);
    // What the linker named for a sketch the builder rejected (a missing
    // loop(), a function defined twice, a program too big), or an empty
    // string for a compiler error, which has a line of its own.
    static QString linkProblem(const board::BuildError& error);
    // A tool ended by a signal, a file the job could not make: the failures
    // that are not the sketch's nor the board's.
    static QString toolProblem(const board::BoardOutcome& outcome);
};

} // namespace window
