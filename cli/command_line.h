#pragma once

#include "cli/options.h"

#include <QStringList>

#include <functional>
#include <string>

namespace cli {

class OptionTable;
class SketchMaker;

// The command-line front end: reads the options through the one option
// table, then runs one of a few named commands (write a sketch, send it to
// the board, list the ports, simulate it, simulate a sketch file) and turns
// what went wrong into one error line and the exit status. Drawing and
// sketch text are left to the layers below, the board's tools to the
// board commands.
class CommandLine {
public:
    static constexpr int kOk = 0;
    static constexpr int kFailed = 1;       // the sketch could not be made, read or written
    static constexpr int kUsageError = 2;   // the call or its input is wrong

    // Needs a QGuiApplication. Returns the process's exit status.
    static int run(const QStringList& arguments);

private:
    // The table gives the help text, made only when it is asked for.
    static int runCommand(const Options& options, const OptionTable& table);
    static int writeSketch(const Options& options);
    static int sendToBoard(const Options& options);
    static int simulate(const Options& options);
    // The whole sketch as the board's tools take it (UTF-8), written to
    // --output as well when it is given; openOutputs opens the command's
    // own outputs before anything is drawn.
    static std::string sketchForTools(const Options& options, SketchMaker& maker,
                                      const std::function<void()>& openOutputs);
};

} // namespace cli
