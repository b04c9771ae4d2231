#pragma once

#include "platform/big5_line_file_opener.h"
#include "platform/sketch_folder.h"

#include <QString>

namespace platform {

// Opens the window's sketch file. A bb folder in the user's Arduino sketchbook
// is made when missing, since that place is the user's own and the tool
// chose it; a bb folder anywhere else (beside a portable tool) is never
// made, so its absence stays the error that tells the user where the file
// goes. Checking paths and writing Big5 are Big5LineFileOpener's business.
class SketchFileOpener : public generation::LineFileOpener {
public:
    explicit SketchFileOpener(QString sketchbook = SketchFolder::sketchbook());

    std::unique_ptr<generation::LineFile> open(const std::string& path) override;

private:
    QString m_sketchbook;
    Big5LineFileOpener m_files;
};

} // namespace platform
