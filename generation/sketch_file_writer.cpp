#include "generation/sketch_file_writer.h"

#include "generation/sketch_layout.h"
#include "generation/sketch_steps.h"

#include <filesystem>

namespace generation {

SketchFileWriter::SketchFileWriter(ColumnSampler& sampler, LineFileOpener& opener, std::string path)
    : m_sampler(sampler)
    , m_opener(opener)
    , m_path(std::move(path))
{
}

std::size_t SketchFileWriter::messageColumnCount(std::size_t messageLength, std::size_t drawnWidth)
{
    return SketchLayout::file().messageColumns(messageLength, drawnWidth);
}

std::string SketchFileWriter::sketchFilePath(const std::string& toolFolder)
{
    const std::string separator(1, static_cast<char>(std::filesystem::path::preferred_separator));
    return toolFolder + separator + "bb" + separator + "bb.ino";
}

void SketchFileWriter::writeSketchFile(const std::u16string& title, const std::u16string& message, bool wholeMessage,
                                       int stepFrames, std::span<const Picture> pictures)
{
    auto file = m_opener.open(m_path);
    write(m_sampler, *file, title, message, wholeMessage, stepFrames, pictures);
    file->commit();
}

void SketchFileWriter::write(ColumnSampler& sampler, LineFile& out, const std::u16string& title,
                             const std::u16string& message, bool wholeMessage, int stepFrames,
                             std::span<const Picture> pictures)
{
    SketchLayout layout = wholeMessage ? SketchLayout::wholeMessage(PortWiring::PortsBA) : SketchLayout::file();
    layout.stepFrames = stepFrames;
    // The file's title always comes from the standard rows, whichever
    // generate button was used last.
    SketchSteps(sampler, layout).write(out, title, message, RowWindow::standard(), pictures);
}

} // namespace generation
