#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>

#include <string>

namespace cli {

// The command line's board options: --list-ports, --hex and --upload. It
// adds them to the parser, lists ports, and sends a built sketch through
// the board layer, printing progress when standard error is a terminal and
// one error line when something fails. Building the sketch is left to the
// command line.
class BoardCommands {
public:
    // Compiling or uploading failed.
    static constexpr int kBoardFailed = 3;
    // Stopped by SIGINT or SIGTERM, as shells report it for SIGINT.
    static constexpr int kInterrupted = 130;

    explicit BoardCommands(QCommandLineParser& parser);

    bool listsPorts() const;
    bool sendsSketch() const;
    // Why these options cannot go together, or an empty string.
    QString usageProblem() const;

    int listPorts() const;
    // Compiles the sketch, writes the hex for --hex, uploads for --upload.
    int send(const std::string& sketch) const;

private:
    QCommandLineParser& m_parser;
    QCommandLineOption m_listPorts;
    QCommandLineOption m_hex;
    QCommandLineOption m_upload;
};

} // namespace cli
