#include "window/sketch_panel.h"

#include "platform/text_conversion.h"
#include "window/long_sketch_view.h"

#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextBlock>

namespace window {

SketchPanel::SketchPanel(QPlainTextEdit* editor, LongSketchView* viewer)
    : m_editor(editor)
    , m_viewer(viewer)
{
    m_viewer->hide();
}

void SketchPanel::setText(std::shared_ptr<const std::string> text)
{
    if (!text) {
        return;
    }
    const bool hadFocus = m_editor->hasFocus() || m_viewer->hasFocus();
    // A sketch given to the panel is no edit of the user's: the editor
    // says nothing of the change.
    const QSignalBlocker quiet(m_editor);
    m_viewing = text->size() > kEditableBytes;
    if (m_viewing) {
        m_editor->clear();
        m_editor->hide();
        m_viewer->setText(std::move(text));
        m_viewer->show();
    } else {
        m_viewer->clear();
        m_viewer->hide();
        m_editor->setPlainText(platform::fromUtf8(*text));
        m_editor->show();
    }
    if (hadFocus) {
        (m_viewing ? static_cast<QWidget*>(m_viewer) : m_editor)->setFocus();
    }
}

QString SketchPanel::text() const
{
    if (m_viewing) {
        return platform::fromUtf8(m_viewer->text());
    }
    return platform::withCrLfLineEnds(m_editor->toPlainText());
}

void SketchPanel::showLine(int line)
{
    if (line < 1) {
        return;
    }
    if (m_viewing) {
        m_viewer->showLine(static_cast<std::size_t>(line - 1));
        m_viewer->setFocus();
        return;
    }
    const QTextBlock block = m_editor->document()->findBlockByNumber(line - 1);
    if (!block.isValid()) {
        return;
    }
    m_editor->setTextCursor(QTextCursor(block));
    m_editor->centerCursor();
    m_editor->setFocus();
}

} // namespace window
