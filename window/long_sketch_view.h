#pragma once

#include <QAbstractScrollArea>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class QLabel;

namespace window {

// Shows a sketch too long for an editable text box: it shares the text with
// whoever made it, as the UTF-8 bytes it was generated in, keeps where each
// line starts, and
// draws only the lines in view. It scrolls by bar, wheel and keyboard and
// can mark one line, but it cannot be edited; a strip along its top says
// so. Deciding when a sketch is too long is the panel's business.
class LongSketchView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit LongSketchView(QWidget* parent);

    // Shows the text (CR LF line ends) from its first line.
    void setText(std::shared_ptr<const std::string> text);
    void clear();
    const std::string& text() const;
    std::size_t lineCount() const;
    // Scrolls a line (0-based) into the middle of the view and marks it.
    void showLine(std::size_t line);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString lineText(std::size_t line) const;
    int lineHeight() const;
    void updateScrollBars();

    std::shared_ptr<const std::string> m_text;
    // Where each line starts in the text; a text ending in a line end has no
    // empty last line.
    std::vector<std::size_t> m_lineStarts;
    // Grows as wider lines come into view, as an editor's does.
    int m_contentWidth = 0;
    std::size_t m_markedLine = static_cast<std::size_t>(-1);
    QLabel* m_note;
};

} // namespace window
