#pragma once

#include <QString>

namespace cli {

// Reads a message from a UTF-8 file or, for "-", standard input. The read is
// done in chunks and stops as soon as the message is longer than the limit,
// so an endless source (a device, a pipe that never ends) is refused instead
// of filling memory. A UTF-8 byte-order mark at the start says how the file
// is encoded and is dropped; one final line end (LF or CR LF) is dropped.
// Everything else is kept as it is. It also holds every message to the
// limit, however it was given; what the message draws is the sketch's.
class MessageFile {
public:
    // Throws UsageError when the file cannot be opened, is not UTF-8 or is
    // too long, and SketchError when reading fails part-way.
    static QString read(const QString& path);
    // Throws UsageError when a message this many UTF-16 code units long is
    // longer than the limit.
    static void checkLength(qsizetype length);
};

} // namespace cli
