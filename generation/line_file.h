#pragma once

#include <string>

namespace generation {

// A text file being written line by line. Each line is UTF-8 and gets CR LF
// appended; the encoding on disk is the implementation's. Nothing replaces
// the file on disk until commit() succeeds: a LineFile destroyed without a
// commit leaves any earlier file as it was. Failures throw SketchError.
class LineFile {
public:
    virtual ~LineFile() = default;
    virtual void writeLine(const std::string& text) = 0;
    virtual void commit() = 0;
};

} // namespace generation
