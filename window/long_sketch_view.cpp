#include "window/long_sketch_view.h"

#include "generation/face_names.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <limits>

namespace window {

namespace {
constexpr int kTextMargin = 4;
constexpr std::size_t kNoLine = static_cast<std::size_t>(-1);
} // namespace

LongSketchView::LongSketchView(QWidget* parent)
    : QAbstractScrollArea(parent)
    , m_note(new QLabel(this))
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    m_note->setText(tr("程式太長，這裡只能檢視，不能修改。要修改請按『另存草稿…』，再用 Arduino IDE 開啟。"));
    m_note->setWordWrap(false);
    m_note->setAutoFillBackground(true);
    // A note in the desktop's own colours for notes, readable on any theme.
    m_note->setBackgroundRole(QPalette::ToolTipBase);
    m_note->setForegroundRole(QPalette::ToolTipText);
    m_note->setContentsMargins(4, 2, 4, 2);
    m_note->setFont(QFont(QString::fromUtf8(generation::kMingFace), 9));
    setViewportMargins(0, m_note->sizeHint().height(), 0, 0);
}

const std::string& LongSketchView::text() const
{
    static const std::string none;
    return m_text ? *m_text : none;
}

void LongSketchView::setText(std::shared_ptr<const std::string> text)
{
    m_text = std::move(text);
    const std::string& bytes = this->text();
    m_lineStarts.clear();
    m_lineStarts.push_back(0);
    std::size_t longestStart = 0;
    std::size_t longestBytes = 0;
    for (std::size_t at = bytes.find('\n'); at != std::string::npos; at = bytes.find('\n', at + 1)) {
        const std::size_t start = m_lineStarts.back();
        if (at - start > longestBytes) {
            longestBytes = at - start;
            longestStart = m_lineStarts.size() - 1;
        }
        if (at + 1 < bytes.size()) {
            m_lineStarts.push_back(at + 1);
        }
    }
    m_markedLine = kNoLine;
    m_contentWidth = 0;
    if (!bytes.empty()) {
        // A first guess from the line longest in bytes; painting widens it.
        m_contentWidth = fontMetrics().horizontalAdvance(lineText(longestStart)) + 2 * kTextMargin;
    }
    updateScrollBars();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

void LongSketchView::clear()
{
    // Give the memory back, not only the length.
    m_text.reset();
    std::vector<std::size_t>().swap(m_lineStarts);
    m_markedLine = kNoLine;
    m_contentWidth = 0;
    updateScrollBars();
}

std::size_t LongSketchView::lineCount() const
{
    return text().empty() ? 0 : m_lineStarts.size();
}

void LongSketchView::showLine(std::size_t line)
{
    if (line >= lineCount()) {
        return;
    }
    m_markedLine = line;
    const int shown = std::max(1, viewport()->height() / lineHeight());
    verticalScrollBar()->setValue(static_cast<int>(line) - shown / 2);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

QString LongSketchView::lineText(std::size_t line) const
{
    const std::size_t start = m_lineStarts[line];
    const std::string& bytes = text();
    std::size_t end = line + 1 < m_lineStarts.size() ? m_lineStarts[line + 1] : bytes.size();
    while (end > start && (bytes[end - 1] == '\n' || bytes[end - 1] == '\r')) {
        --end;
    }
    return QString::fromUtf8(bytes.data() + start, static_cast<qsizetype>(end - start));
}

int LongSketchView::lineHeight() const
{
    return std::max(1, fontMetrics().lineSpacing());
}

void LongSketchView::updateScrollBars()
{
    const int height = lineHeight();
    const int shown = std::max(1, viewport()->height() / height);
    const auto lines = static_cast<int>(std::min<std::size_t>(lineCount(), std::numeric_limits<int>::max()));
    verticalScrollBar()->setRange(0, std::max(0, lines - shown));
    verticalScrollBar()->setPageStep(shown);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setRange(0, std::max(0, m_contentWidth - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(fontMetrics().averageCharWidth() * 2);
}

void LongSketchView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    const int height = lineHeight();
    const int ascent = fontMetrics().ascent();
    const int left = kTextMargin - horizontalScrollBar()->value();
    const auto first = static_cast<std::size_t>(std::max(0, verticalScrollBar()->value()));
    const std::size_t last = std::min(lineCount(), first + static_cast<std::size_t>(viewport()->height() / height) + 2);
    int widest = m_contentWidth;
    for (std::size_t line = first; line < last; ++line) {
        const int top = static_cast<int>(line - first) * height;
        const bool marked = line == m_markedLine;
        if (marked) {
            painter.fillRect(QRect(0, top, viewport()->width(), height), palette().color(QPalette::Highlight));
        }
        painter.setPen(palette().color(marked ? QPalette::HighlightedText : QPalette::Text));
        const QString text = lineText(line);
        painter.drawText(left, top + ascent, text);
        widest = std::max(widest, fontMetrics().horizontalAdvance(text) + 2 * kTextMargin);
    }
    if (widest != m_contentWidth) {
        m_contentWidth = widest;
        updateScrollBars();
    }
}

void LongSketchView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    m_note->setGeometry(frameWidth(), frameWidth(), width() - 2 * frameWidth(), m_note->sizeHint().height());
    updateScrollBars();
}

void LongSketchView::keyPressEvent(QKeyEvent* event)
{
    const bool control = event->modifiers().testFlag(Qt::ControlModifier);
    switch (event->key()) {
    case Qt::Key_Home:
        (control ? verticalScrollBar() : horizontalScrollBar())->triggerAction(QAbstractSlider::SliderToMinimum);
        return;
    case Qt::Key_End:
        (control ? verticalScrollBar() : horizontalScrollBar())->triggerAction(QAbstractSlider::SliderToMaximum);
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

} // namespace window
