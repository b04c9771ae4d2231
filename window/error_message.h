#pragma once

#include "generation/sketch_error.h"

#include <QCoreApplication>
#include <QString>

namespace window {

// Words a failure for the window's error box in Traditional Chinese: the
// number and its kind on the first line, then what failed and the system's
// reason. Showing the box is the guard's business.
class ErrorMessage {
    Q_DECLARE_TR_FUNCTIONS(ErrorMessage)

public:
    static QString forError(const generation::SketchError& error);
    static QString outOfMemory();
    static QString internal(const QString& detail);

private:
    static QString kind(int number);
    static QString reason(int osError);
};

} // namespace window
