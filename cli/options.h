#pragma once

#include "generation/marquee_shape.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace cli {

// Every option the command-line tool takes, in the order --help lists them.
enum class Option {
    Help, Version,
    Title, Message, MessageFile, Face, Bold, Italic, Lowered, FileSketch, Output, WholeMessage, StepFrames, WiringTest,
    ListPorts, Hex, Upload,
    Simulate, Sketch,
    Picture,
};

// What one call of the tool asks for, read and checked: which command it
// runs and the values it runs with. Reading and checking it is OptionTable's;
// running it is the commands'.
struct Options {
    enum class Command {
        Help,
        Version,
        WriteSketch,  // the sketch to a file or standard output
        SendToBoard,  // compiled for --hex, and uploaded for --upload
        ListPorts,
        Simulate,     // the sketch the options make, on the simulated board
        SimulateFile, // a sketch file as it is, on the simulated board
    };
    Command command = Command::WriteSketch;

    // What the sketch is made of; unset: the window's defaults.
    std::optional<QString> title;
    std::optional<QString> message;
    std::optional<QString> messageFile;
    QString face;
    bool bold = false;
    bool italic = false;
    bool lowered = false;
    bool wholeMessage = false;
    int stepFrames = generation::MarqueeShape::kMarqueeFrames;
    // One picture file for each picture mark, in order.
    QStringList pictures;
    // Which sketch: the Big5 file sketch for ports B and A, the wiring test.
    bool fileSketch = false;
    bool wiringTest = false;
    // Where it goes; unset: standard output (or nowhere, for the board and
    // the simulated board).
    std::optional<QString> output;
    std::optional<QString> hex;
    std::optional<QString> upload;
    double simulateSeconds = 0;
    std::optional<QString> sketch;
};

} // namespace cli
