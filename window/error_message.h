#pragma once

#include "generation/sketch_error.h"

#include <QCoreApplication>
#include <QString>

#include <cstddef>

namespace window {

// Words a failure for the window's error box in Traditional Chinese: the
// number and its kind on the first line, then what failed and the system's
// reason (read as a read's or a write's), or for a message too wide for the
// board how wide it is and the most the board holds; for a picture, which
// file and why the sign cannot take it, or which mark has none. Showing the
// box is the guard's business.
class ErrorMessage {
    Q_DECLARE_TR_FUNCTIONS(ErrorMessage)

public:
    static QString forError(const generation::SketchError& error);
    static QString outOfMemory();
    static QString internal(const QString& detail);

private:
    static QString kind(int number);
    static QString tooWide(std::size_t columns, std::size_t mostColumns);
    static QString reason(int osError, bool reading);
    static QString invalidPicture(const generation::SketchError& error);
};

} // namespace window
