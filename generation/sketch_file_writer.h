#pragma once

#include "generation/column_sampler.h"
#include "generation/line_file_opener.h"
#include "generation/marquee_shape.h"
#include "generation/picture.h"

#include <cstddef>
#include <span>
#include <string>

namespace generation {

// Writes the sketch file: the panel sketch's variant for boards wired to
// ports B and A, with its own message column count, piece by piece into a
// line file that replaces the target only once it is complete. It does not
// know the encoding on disk or where the tool lives; the caller gives the path.
class SketchFileWriter {
public:
    SketchFileWriter(ColumnSampler& sampler, LineFileOpener& opener, std::string path);

    // With wholeMessage the whole message goes to flash, as in the panel's
    // whole-message sketch, still for ports B and A. Each marquee step shows
    // for stepFrames frames. pictures holds one picture for each picture
    // mark, the title's first.
    void writeSketchFile(const std::u16string& title, const std::u16string& message, bool wholeMessage = false,
                         int stepFrames = MarqueeShape::kMarqueeFrames, std::span<const Picture> pictures = {});
    // The same sketch, drawn with this sampler, written into out instead of
    // the file (for the board or standard output); out is not committed.
    static void write(ColumnSampler& sampler, LineFile& out, const std::u16string& title, const std::u16string& message,
                      bool wholeMessage = false, int stepFrames = MarqueeShape::kMarqueeFrames,
                      std::span<const Picture> pictures = {});

    // The larger of L x 14 + 16 and the drawn width, for a message of L
    // UTF-16 code units whose last column with ink on the canvas is
    // drawnWidth - 1.
    static std::size_t messageColumnCount(std::size_t messageLength, std::size_t drawnWidth);
    // folder/bb/bb.ino with the platform's separator.
    static std::string sketchFilePath(const std::string& toolFolder);

private:
    ColumnSampler& m_sampler;
    LineFileOpener& m_opener;
    std::string m_path;
};

} // namespace generation
