#include "generation/panel_sketch_builder.h"

#include "generation/sketch_steps.h"
#include "generation/string_line_file.h"

namespace generation {

PanelSketchBuilder::PanelSketchBuilder(ColumnSampler& sampler)
    : m_sampler(sampler)
{
}

std::size_t PanelSketchBuilder::messageColumnCount(std::size_t messageLength)
{
    return SketchLayout::panel().messageColumns(messageLength, 0);
}

PanelSketch PanelSketchBuilder::buildPanelSketch(const std::u16string& title, const std::u16string& message,
                                                 RowWindow titleWindow, bool wholeMessage, int stepFrames,
                                                 std::span<const Picture> pictures)
{
    StringLineFile text;
    PanelSketch result = write(text, title, message, titleWindow, wholeMessage, stepFrames, pictures);
    result.text = text.take();
    return result;
}

PanelSketch PanelSketchBuilder::write(LineFile& out, const std::u16string& title, const std::u16string& message,
                                      RowWindow titleWindow, bool wholeMessage, int stepFrames,
                                      std::span<const Picture> pictures)
{
    SketchLayout layout = wholeMessage ? SketchLayout::wholeMessage(PortWiring::PortsKF) : SketchLayout::panel();
    layout.stepFrames = stepFrames;
    return SketchSteps(m_sampler, layout).write(out, title, message, titleWindow, pictures);
}

} // namespace generation
