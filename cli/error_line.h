#pragma once

#include <QString>

namespace cli {

// Prints one line on standard error, after the program's name, as every
// failure and note of the command-line tool is printed. What the line says
// is the caller's.
void printError(const QString& message);

// Whether standard error is a terminal, where a line can be redrawn in
// place to show progress.
bool stderrIsTerminal();

} // namespace cli
