#include "window/window_actions.h"

#include "generation/sketch_error.h"
#include "platform/text_conversion.h"
#include "window/form1.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

namespace window {

using generation::RowWindow;
using generation::SketchError;
using platform::toU16;

namespace {
// Anything that is not a SketchError (running out of memory, say) is still
// reported rather than ending the tool.
constexpr int kInternalError = 51;
}

WindowActions::WindowActions(Form1& form, const std::string& toolFolder)
    : m_form(form)
    , m_builder(form.sampler())
    , m_writer(form.sampler(), m_opener, generation::SketchFileWriter::sketchFilePath(toolFolder))
{
    connectControls();
}

void WindowActions::connectControls()
{
    const auto button = [this](QPushButton* sender, void (WindowActions::*action)()) {
        QObject::connect(sender, &QPushButton::clicked, &m_form, [this, action] { guarded([=, this] { (this->*action)(); }); });
    };
    button(m_form.Command1, &WindowActions::generateStandard);
    button(m_form.Command3, &WindowActions::generateLowered);
    button(m_form.Command2, &WindowActions::copyPanel);
    button(m_form.Command5, &WindowActions::writeFile);

    // A box or option changed by the user, by mouse or keyboard, toggles;
    // unticking a box turns its style off again.
    const auto toggle = [this](QAbstractButton* sender, std::function<void(bool)> action) {
        QObject::connect(sender, &QAbstractButton::toggled, &m_form,
                         [this, action](bool on) { guarded([=] { action(on); }); });
    };
    toggle(m_form.Check1, [this](bool on) { setBold(on); });
    toggle(m_form.Check2, [this](bool on) { setItalic(on); });
    toggle(m_form.Option1, [this](bool selected) { chooseFace("新細明體", selected); });
    toggle(m_form.Option2, [this](bool selected) { chooseFace("標楷體", selected); });
}

void WindowActions::guarded(const std::function<void()>& action)
{
    QString failure;
    try {
        action();
    } catch (const SketchError& error) {
        failure = QStringLiteral("Error %1: %2").arg(error.number()).arg(platform::fromUtf8(error.what()));
    } catch (const std::exception& error) {
        failure = QStringLiteral("Error %1: %2").arg(kInternalError).arg(QString::fromLocal8Bit(error.what()));
    }
    m_form.showCanvas();
    if (!failure.isEmpty()) {
        QMessageBox::critical(&m_form, m_form.windowTitle(), failure);
    }
}

void WindowActions::generateStandard()
{
    m_form.showSketch(m_builder.buildPanelSketch(toU16(m_form.title()), toU16(m_form.message()), RowWindow::standard()));
}

void WindowActions::generateLowered()
{
    m_form.showSketch(m_builder.buildPanelSketch(toU16(m_form.title()), toU16(m_form.message()), RowWindow::lowered()));
}

void WindowActions::copyPanel()
{
    m_clipboard.putText(m_form.panelText());
}

void WindowActions::writeFile()
{
    m_writer.writeSketchFile(toU16(m_form.title()), toU16(m_form.message()));
}

void WindowActions::setBold(bool on)
{
    m_form.canvas().setBold(on);
}

void WindowActions::setItalic(bool on)
{
    m_form.canvas().setItalic(on);
}

void WindowActions::chooseFace(const char* face, bool selected)
{
    if (selected) {
        m_form.canvas().setFaceName(face);
    }
}

} // namespace window
