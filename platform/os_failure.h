#pragma once

#include "generation/sketch_error.h"

#include <QString>

namespace platform {

// The SketchError for a failed system call: errno picks the number (missing
// path 76, access 75, disk full 61, out of memory 7, any other I/O 57) and the
// description reads "<kind>: <action> <path> (<the system's reason>)".
generation::SketchError osFailure(int osError, const QString& action, const QString& path);

} // namespace platform
