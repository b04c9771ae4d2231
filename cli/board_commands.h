#pragma once

#include "board/board_outcome.h"
#include "cli/options.h"
#include "platform/output_file.h"

#include <QString>

#include <string>

namespace cli {

// The command line's board commands: listing the serial ports, and sending
// a built sketch through the board layer's BoardJob, as the window does,
// for --hex and --upload, printing progress when standard error is a
// terminal and one error line when something fails. Building the sketch is
// left to the command line.
class BoardCommands {
public:
    // Compiling or uploading failed.
    static constexpr int kBoardFailed = 3;
    // Stopped by SIGINT or SIGTERM, as shells report it for SIGINT.
    static constexpr int kInterrupted = 130;

    // What the user reads when compiling or uploading failed: the failure
    // in words, the tools' own reason, and what to do where there is
    // something.
    static QString failureLine(const board::BoardOutcome& outcome);

    static int listPorts();
    // Compiles the sketch, uploads it for --upload, and writes the hex into
    // hexFile unless it is null; throws SketchError when that write fails.
    static int send(const Options& options, const std::string& sketch, platform::OutputFile* hexFile);
};

} // namespace cli
