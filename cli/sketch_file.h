#pragma once

#include <QString>

namespace cli {

// Reads a sketch file the user gives, as the Arduino IDE would open it: as
// UTF-8 when its bytes are valid UTF-8 (a byte-order mark is dropped), and
// otherwise as Big5, the encoding of the bb.ino this tool writes. A file
// larger than any sketch (a device, an endless pipe) is refused.
class SketchFile {
public:
    // Throws UsageError when the file cannot be opened, is too large, or
    // is neither UTF-8 nor Big5, and SketchError when reading fails part-way.
    static QString read(const QString& path);
};

} // namespace cli
