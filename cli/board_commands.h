#pragma once

#include "board/board_outcome.h"
#include "platform/output_file.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>

#include <memory>
#include <string>

namespace cli {

// The command line's board options: --list-ports, --hex and --upload. It
// adds them to the parser, lists ports, and sends a built sketch through
// the board layer's BoardJob, as the window does, printing progress when
// standard error is a terminal and one error line when something fails.
// Building the sketch is left to the command line.
class BoardCommands {
public:
    // Compiling or uploading failed.
    static constexpr int kBoardFailed = 3;
    // Stopped by SIGINT or SIGTERM, as shells report it for SIGINT.
    static constexpr int kInterrupted = 130;

    explicit BoardCommands(QCommandLineParser& parser);

    // What the user reads when compiling or uploading failed: the failure
    // in words, the tools' own reason, and what to do where there is
    // something.
    static QString failureLine(const board::BoardOutcome& outcome);

    bool listsPorts() const;
    bool sendsSketch() const;
    // Why these options cannot go together, or an empty string.
    QString usageProblem() const;

    int listPorts() const;
    // Opens --hex's file, or gives null without --hex; throws SketchError
    // as every other output does, so the command line opens it before it
    // draws anything.
    std::unique_ptr<platform::OutputFile> openHexFile() const;
    // Compiles the sketch, uploads it for --upload, and writes the hex into
    // hexFile unless it is null; throws SketchError when that write fails.
    int send(const std::string& sketch, platform::OutputFile* hexFile) const;

private:
    QCommandLineParser& m_parser;
    QCommandLineOption m_listPorts;
    QCommandLineOption m_hex;
    QCommandLineOption m_upload;
};

} // namespace cli
