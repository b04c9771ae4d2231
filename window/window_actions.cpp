#include "window/window_actions.h"

#include "platform/ide_sketch_file.h"
#include "platform/picture_file.h"
#include "platform/text_conversion.h"
#include "window/session.h"
#include "window/sketch_view.h"

#include <QDir>

#include <utility>

namespace window {

using generation::RowWindow;
using platform::toU16;

WindowActions::WindowActions(Session& session, SketchView& form, const std::string& toolFolder)
    : m_session(session)
    , m_form(form)
    , m_guard(form)
    , m_writer(session.sampler(), m_opener, generation::SketchFileWriter::sketchFilePath(toolFolder))
{
}

void WindowActions::generateStandard()
{
    m_guard.run([&] {
        m_session.generate(m_form.title(), m_form.message(), RowWindow::standard());
    });
}

void WindowActions::generateLowered()
{
    m_guard.run([&] {
        m_session.generate(m_form.title(), m_form.message(), RowWindow::lowered());
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
        const Session::Choices& choices = m_session.choices();
        const QString title = m_form.title();
        const QString message = m_form.message();
        m_writer.writeSketchFile(toU16(title), toU16(message), choices.wholeMessage, choices.stepFrames,
                                 m_session.pictures().forBuilders(title, message));
    });
}

void WindowActions::showWiringTest()
{
    m_guard.run([&] {
        m_session.showWiringTest();
    });
}

void WindowActions::setBold(bool on)
{
    m_guard.run([&] {
        m_session.setBold(on);
    });
}

void WindowActions::setItalic(bool on)
{
    m_guard.run([&] {
        m_session.setItalic(on);
    });
}

void WindowActions::chooseFace(std::string_view face, bool selected)
{
    m_guard.run([&] {
        if (selected) {
            m_session.setFace(face);
        }
    });
}

void WindowActions::setWholeMessage(bool on)
{
    m_guard.run([&] {
        m_session.setWholeMessage(on);
    });
}

void WindowActions::setStepFrames(int stepFrames)
{
    m_guard.run([&] {
        m_session.setStepFrames(stepFrames);
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

void WindowActions::insertPicture()
{
    m_guard.run([&] {
        const QString path = m_form.askPicturePath();
        if (path.isEmpty()) {
            return;
        }
        // Read before anything changes, so that a file the sign cannot take
        // leaves the texts as they were.
        generation::Picture picture = platform::PictureFile::read(path);
        const SketchView::PlacedMark placed = m_form.placePictureMark();
        if (!placed.mark) {
            m_form.showNote(tr("框裡的文字已達上限，放不下圖片標記。"));
            return;
        }
        m_session.pictures().attach(placed.box, *placed.mark, std::move(picture));
    });
}

} // namespace window
