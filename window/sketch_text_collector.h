#pragma once

#include "generation/line_file_opener.h"

#include <string>

namespace window {

// Stands in for the sketch file's opener when the file's text is wanted in
// memory rather than on disk, to send that variant to the board. Each
// committed file's lines, with their CR LF ends, become text(); what the
// writer writes is the writer's business.
class SketchTextCollector : public generation::LineFileOpener {
public:
    std::unique_ptr<generation::LineFile> open(const std::string& path) override;

    // The text of the last file committed; empty before that.
    const std::string& text() const { return m_text; }

private:
    std::string m_text;
};

} // namespace window
