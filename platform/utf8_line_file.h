#pragma once

#include "generation/line_file.h"
#include "platform/output_file.h"

#include <QString>

#include <string>

namespace platform {

// A line file written as UTF-8 while it is made, so a long sketch is never
// held whole. How the target is replaced and what a failure leaves behind is
// the OutputFile's business.
class Utf8LineFile : public generation::LineFile {
public:
    // Opens the output ("-" for standard output); throws SketchError when
    // that is impossible.
    explicit Utf8LineFile(const QString& path);

    void writeLine(const std::string& text) override;
    void commit() override;

private:
    OutputFile m_output;
};

} // namespace platform
