#pragma once

#include <QStringList>

namespace cli {

// The command-line front end: reads the options, builds one sketch with the
// same canvas, sampler and builders as the window, and writes it. It leaves
// drawing and sketch text to the layers below and owns only the options,
// the input files and the exit status.
class CommandLine {
public:
    static constexpr int kOk = 0;
    static constexpr int kFailed = 1;       // the sketch could not be made, read or written
    static constexpr int kUsageError = 2;   // the call or its input is wrong

    // Needs a QGuiApplication. Returns the process's exit status.
    static int run(const QStringList& arguments);
};

} // namespace cli
