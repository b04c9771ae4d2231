#pragma once

#include "cli/options.h"
#include "generation/column_sampler.h"
#include "generation/line_file.h"
#include "generation/picture.h"
#include "platform/qt_glyph_canvas.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace cli {

// Makes the sketch the options ask for with the same canvas, sampler and
// builders as the window: the panel sketch, the sketch file or the wiring
// test. It reads the message file and the pictures and checks them before
// anything is drawn; where the sketch goes, and what is done with it, is the
// commands'.
class SketchMaker {
public:
    // Throws UsageError for a message file that cannot be read, a
    // message over the limit or pictures that do not pair up with their
    // marks, and SketchError for a read failing part-way.
    explicit SketchMaker(const Options& options);

    // Writes the sketch into out, line by line as it is made; throws
    // SketchError as its writers do.
    void write(generation::LineFile& out);
    // A file for this sketch at the path: the file sketch and the wiring
    // test's B/A variant are stored in Big5, as the file the window
    // writes; the rest in UTF-8.
    std::unique_ptr<generation::LineFile> openFile(const QString& path) const;

private:
    const Options& m_options;
    QString m_title;
    QString m_message;
    std::vector<generation::Picture> m_pictures;
    std::optional<platform::QtGlyphCanvas> m_canvas;
    std::optional<generation::ColumnSampler> m_sampler;
};

} // namespace cli
