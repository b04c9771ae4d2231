#include "window/window_actions.h"

#include "generation/sketch_error.h"
#include "generation/wiring_test_sketch.h"
#include "platform/ide_sketch_file.h"
#include "platform/qt_glyph_canvas.h"
#include "platform/text_conversion.h"
#include "window/error_message.h"
#include "window/window_view.h"

#include <QDir>

#include <new>

namespace window {

using generation::RowWindow;
using generation::SketchError;
using platform::toU16;

WindowActions::WindowActions(WindowView& form, const std::string& toolFolder)
    : m_form(form)
    , m_builder(form.sampler())
    , m_writer(form.sampler(), m_opener, generation::SketchFileWriter::sketchFilePath(toolFolder))
{
}

void WindowActions::guarded(const std::function<void()>& action)
{
    QString failure;
    try {
        action();
    } catch (const SketchError& error) {
        failure = ErrorMessage::forError(error);
    } catch (const std::bad_alloc&) {
        failure = ErrorMessage::outOfMemory();
    } catch (const std::exception& error) {
        // Anything else is still reported rather than ending the tool.
        failure = ErrorMessage::internal(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        failure = ErrorMessage::internal(QString());
    }
    m_form.showCanvas();
    if (!failure.isEmpty()) {
        m_form.showError(failure);
    }
}

void WindowActions::generateStandard()
{
    guarded([&] {
        m_form.showSketch(m_builder.buildPanelSketch(toU16(m_form.title()), toU16(m_form.message()), RowWindow::standard(),
                                          m_form.wholeMessage(), m_form.stepFrames()));
    });
}

void WindowActions::generateLowered()
{
    guarded([&] {
        m_form.showSketch(m_builder.buildPanelSketch(toU16(m_form.title()), toU16(m_form.message()), RowWindow::lowered(),
                                          m_form.wholeMessage(), m_form.stepFrames()));
    });
}

void WindowActions::copyPanel()
{
    guarded([&] {
        m_clipboard.putText(m_form.panelText());
    });
}

void WindowActions::writeFile()
{
    guarded([&] {
        m_writer.writeSketchFile(toU16(m_form.title()), toU16(m_form.message()), m_form.wholeMessage(),
                                 m_form.stepFrames());
    });
}

void WindowActions::showWiringTest()
{
    guarded([&] {
        m_form.showWiringTest(generation::WiringTestSketch::text(generation::PortWiring::PortsKF));
    });
}

void WindowActions::setBold(bool on)
{
    guarded([&] {
        m_form.canvas().setBold(on);
    });
}

void WindowActions::setItalic(bool on)
{
    guarded([&] {
        m_form.canvas().setItalic(on);
    });
}

void WindowActions::chooseFace(const char* face, bool selected)
{
    guarded([&] {
        if (selected) {
            m_form.canvas().setFaceName(face);
        }
    });
}

void WindowActions::saveSketchAs()
{
    guarded([&] {
        const QString path = m_form.askSketchPath();
        if (path.isEmpty()) {
            return;
        }
        platform::IdeSketchFile::save(path, m_form.panelText());
        m_form.showNote(tr("草稿已存成 %1").arg(QDir::toNativeSeparators(path)));
    });
}

} // namespace window
