#pragma once

#include "generation/line_file.h"
#include "platform/output_file.h"

#include <QStringEncoder>

namespace platform {

// A line file stored as Big5 without a byte-order mark. The bytes go through
// an OutputFile, which owns how the target is replaced and what a failure
// leaves behind: destroyed without commit(), nothing is replaced or printed.
class Big5LineFile : public generation::LineFile {
public:
    // Opens the output ("-" for standard output); throws SketchError when
    // that is impossible.
    explicit Big5LineFile(const QString& path);

    void writeLine(const std::string& text) override;
    void commit() override;

private:
    QStringEncoder m_encoder;
    OutputFile m_output;
};

} // namespace platform
