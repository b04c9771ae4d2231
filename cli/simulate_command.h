#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>

namespace cli {

// The command line's --simulate and --sketch: runs a sketch on the
// simulated Mega 2560 as fast as the machine can and prints, for each frame
// whose picture differs from the one before, the time it began and its 64
// column words. The sketch is the one the other options make, or a sketch
// file given with --sketch. Making the sketch is left to the command line,
// compiling and simulating to the board layer.
class SimulateCommand {
public:
    static constexpr int kLongest = 3600; // seconds

    explicit SimulateCommand(QCommandLineParser& parser);

    bool simulates() const;
    // A sketch file is given to run instead of a sketch made from text.
    bool runsSketchFile() const;
    // Why these options cannot go together, or an empty string.
    // textOptions: any option that makes or writes a sketch from text was
    // given; boardOptions: --hex, --upload or --list-ports was.
    QString usageProblem(bool textOptions, bool boardOptions) const;

    // Compiles and runs the sketch; returns the exit status: 0 when it ran,
    // 1 when it did not compile or the simulated board faulted, 3 when the
    // tools failed, 130 when interrupted.
    int run(const QString& sketchText) const;
    // The same for the file given with --sketch.
    int runSketchFile() const;

private:
    double seconds() const;

    QCommandLineParser& m_parser;
    QCommandLineOption m_simulate;
    QCommandLineOption m_sketch;
};

} // namespace cli
