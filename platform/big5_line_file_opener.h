#pragma once

#include "generation/line_file_opener.h"

namespace platform {

// Opens Big5 line files through OutputFile, which checks the path the way a
// user needs to hear about it (the folder is missing, the folder is a file,
// the file's place is taken by a folder). It never creates folders. The path
// "-" (OutputFile::kStandardOutput) stands for standard output.
class Big5LineFileOpener : public generation::LineFileOpener {
public:
    std::unique_ptr<generation::LineFile> open(const std::string& path) override;
};

} // namespace platform
