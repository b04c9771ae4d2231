#include "generation/panel_sketch_builder.h"

#include "generation/line_end.h"
#include "generation/sketch_text.h"

namespace generation {

namespace {
constexpr std::size_t kTitleColumns = 64;
}

PanelSketchBuilder::PanelSketchBuilder(ColumnSampler& sampler)
    : m_sampler(sampler)
{
}

std::size_t PanelSketchBuilder::messageColumnCount(std::size_t messageLength)
{
    return (messageLength + 20) * 13;
}

std::string PanelSketchBuilder::buildPanelSketch(const std::u16string& title, const std::u16string& message,
                                                 RowWindow titleWindow)
{
    std::string sketch;
    const auto appendLine = [&sketch](const std::string& line) {
        sketch += line;
        sketch += kLineEnd;
    };

    for (const auto& line : SketchText::headLines()) {
        appendLine(line);
    }

    m_sampler.drawTitle(title);
    appendLine(SketchText::titleArray(m_sampler.sample(kTitleColumns, titleWindow)));
    m_sampler.clear();

    const std::size_t columns = messageColumnCount(message.size());
    appendLine(SketchText::countLine(columns));
    appendLine(SketchText::messageHead());
    sketch += SketchText::messageArrayOpen();

    m_sampler.drawMessage(message);
    SketchText::appendMessageBody(sketch, m_sampler.sample(columns, RowWindow::standard()));
    sketch += kLineEnd;

    for (const auto& line : SketchText::programLines(PortWiring::PortsKF)) {
        appendLine(line);
    }
    return sketch;
}

} // namespace generation
