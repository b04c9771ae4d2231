#include "generation/panel_sketch_builder.h"

#include "generation/line_end.h"
#include "generation/sketch_text.h"

namespace generation {

PanelSketchBuilder::PanelSketchBuilder(ColumnSampler& sampler)
    : m_sampler(sampler)
{
}

std::size_t PanelSketchBuilder::messageColumnCount(std::size_t messageLength)
{
    return (messageLength + 20) * 13;
}

PanelSketch PanelSketchBuilder::buildPanelSketch(const std::u16string& title, const std::u16string& message,
                                                 RowWindow titleWindow)
{
    PanelSketch result;
    std::string& sketch = result.text;
    const auto appendLine = [&sketch](const std::string& line) {
        sketch += line;
        sketch += kLineEnd;
    };

    for (const auto& line : SketchText::headLines()) {
        appendLine(line);
    }

    m_sampler.drawTitle(title);
    result.titleWords = m_sampler.sample(SketchText::kTitleColumns, titleWindow);
    appendLine(SketchText::titleArray(result.titleWords));
    m_sampler.clear();

    const std::size_t columnCount = messageColumnCount(message.size());
    appendLine(SketchText::countLine(columnCount));
    appendLine(SketchText::messageHead());
    sketch += SketchText::messageArrayOpen();

    m_sampler.drawMessage(message);
    result.messageWords = m_sampler.sample(columnCount, RowWindow::standard());
    SketchText::appendMessageBody(sketch, result.messageWords);
    sketch += kLineEnd;

    for (const auto& line : SketchText::programLines(PortWiring::PortsKF)) {
        appendLine(line);
    }
    return result;
}

} // namespace generation
