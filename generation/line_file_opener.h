#pragma once

#include "generation/line_file.h"

#include <memory>
#include <string>

namespace generation {

// Opens a LineFile at a path (UTF-8). Opening fails with SketchError when the
// path's folder is missing or is not a folder, or the path cannot be written.
class LineFileOpener {
public:
    virtual ~LineFileOpener() = default;
    virtual std::unique_ptr<LineFile> open(const std::string& path) = 0;
};

} // namespace generation
