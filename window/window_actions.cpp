#include "window/window_actions.h"

#include "generation/wiring_test_sketch.h"
#include "platform/ide_sketch_file.h"
#include "platform/qt_glyph_canvas.h"
#include "platform/text_conversion.h"
#include "window/sketch_view.h"

#include <QDir>

namespace window {

using generation::RowWindow;
using platform::toU16;

WindowActions::WindowActions(SketchView& form, const std::string& toolFolder)
    : m_form(form)
    , m_guard(form)
    , m_builder(form.sampler())
    , m_writer(form.sampler(), m_opener, generation::SketchFileWriter::sketchFilePath(toolFolder))
{
}

void WindowActions::generateStandard()
{
    m_guard.run([&] {
        m_form.showSketch(m_builder.buildPanelSketch(toU16(m_form.title()), toU16(m_form.message()), RowWindow::standard(),
                                          m_form.wholeMessage(), m_form.stepFrames()));
    });
}

void WindowActions::generateLowered()
{
    m_guard.run([&] {
        m_form.showSketch(m_builder.buildPanelSketch(toU16(m_form.title()), toU16(m_form.message()), RowWindow::lowered(),
                                          m_form.wholeMessage(), m_form.stepFrames()));
    });
}

void WindowActions::copyPanel()
{
    m_guard.run([&] {
        m_clipboard.putText(m_form.panelText());
    });
}

void WindowActions::writeFile()
{
    m_guard.run([&] {
        m_writer.writeSketchFile(toU16(m_form.title()), toU16(m_form.message()), m_form.wholeMessage(),
                                 m_form.stepFrames());
    });
}

void WindowActions::showWiringTest()
{
    m_guard.run([&] {
        m_form.showWiringTest(generation::WiringTestSketch::text(generation::PortWiring::PortsKF));
    });
}

void WindowActions::setBold(bool on)
{
    m_guard.run([&] {
        m_form.canvas().setBold(on);
    });
}

void WindowActions::setItalic(bool on)
{
    m_guard.run([&] {
        m_form.canvas().setItalic(on);
    });
}

void WindowActions::chooseFace(std::string_view face, bool selected)
{
    m_guard.run([&] {
        if (selected) {
            m_form.canvas().setFaceName(std::string(face));
        }
    });
}

void WindowActions::saveSketchAs()
{
    m_guard.run([&] {
        const QString path = m_form.askSketchPath();
        if (path.isEmpty()) {
            return;
        }
        platform::IdeSketchFile::save(path, m_form.panelText());
        m_form.showNote(tr("草稿已存成 %1").arg(QDir::toNativeSeparators(path)));
    });
}

} // namespace window
