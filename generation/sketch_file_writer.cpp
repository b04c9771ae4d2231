#include "generation/sketch_file_writer.h"

#include "generation/sketch_text.h"

#include <filesystem>

namespace generation {

SketchFileWriter::SketchFileWriter(ColumnSampler& sampler, LineFileOpener& opener, std::string path)
    : m_sampler(sampler)
    , m_opener(opener)
    , m_path(std::move(path))
{
}

std::size_t SketchFileWriter::messageColumnCount(std::size_t messageLength)
{
    return messageLength * 14 + 16;
}

std::string SketchFileWriter::sketchFilePath(const std::string& toolFolder)
{
    const std::string separator(1, static_cast<char>(std::filesystem::path::preferred_separator));
    return toolFolder + separator + "bb" + separator + "bb.ino";
}

void SketchFileWriter::writeSketchFile(const std::u16string& title, const std::u16string& message)
{
    auto file = m_opener.open(m_path);

    for (const auto& line : SketchText::headLines()) {
        file->writeLine(line);
    }

    // The file's title always comes from the standard rows, whichever
    // generate button was used last.
    m_sampler.drawTitle(title);
    file->writeLine(SketchText::titleArray(m_sampler.sample(SketchText::kTitleColumns, RowWindow::standard())));
    m_sampler.clear();

    const std::size_t columns = messageColumnCount(message.size());
    file->writeLine(SketchText::countLine(columns));
    file->writeLine(SketchText::messageHead());
    file->writeLine(SketchText::messageArrayOpen());

    m_sampler.drawMessage(message);
    std::string body;
    SketchText::appendMessageBody(body, m_sampler.sample(columns, RowWindow::standard()));
    file->writeLine(body);

    for (const auto& line : SketchText::programLines(PortWiring::PortsBA)) {
        file->writeLine(line);
    }
    file->commit();
}

} // namespace generation
