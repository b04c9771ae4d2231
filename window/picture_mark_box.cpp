#include "window/picture_mark_box.h"

#include "generation/picture_marks.h"
#include "window/theme_colours.h"

#include <QAction>
#include <QCoreApplication>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <utility>

namespace window {

namespace {

constexpr QChar kDrawnMark(generation::PictureMarks::kMark);

// A line box shows a mark as a space: the space is made as wide as a
// Chinese character, so that the symbol drawn over it has room.
QFont widenedSpaces(const QFont& font)
{
    const QFontMetricsF metrics(font);
    QFont widened(font);
    widened.setWordSpacing(metrics.horizontalAdvance(QChar(0x5B57)) - metrics.horizontalAdvance(QLatin1Char(' ')));
    return widened;
}

// A framed landscape, the usual sign for a picture; a mark still without
// one is a dashed frame, struck through.
void drawSymbol(QPainter& painter, const QRectF& frame, const QColor& colour, bool held)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(colour, 1.0);
    if (!held) {
        pen.setStyle(Qt::DashLine);
        pen.setDashPattern({2.0, 1.5});
    }
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame);
    if (held) {
        const QRectF inside = frame.adjusted(1.5, 1.5, -1.5, -1.5);
        QPainterPath hills;
        hills.moveTo(inside.left(), inside.bottom());
        hills.lineTo(inside.left() + inside.width() * 0.4, inside.top() + inside.height() * 0.45);
        hills.lineTo(inside.left() + inside.width() * 0.6, inside.top() + inside.height() * 0.7);
        hills.lineTo(inside.left() + inside.width() * 0.75, inside.top() + inside.height() * 0.55);
        hills.lineTo(inside.right(), inside.bottom());
        hills.closeSubpath();
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawPath(hills);
        const double sun = inside.width() * 0.22;
        painter.drawEllipse(QPointF(inside.right() - sun, inside.top() + sun), sun / 1.4, sun / 1.4);
    } else {
        painter.drawLine(frame.bottomLeft(), frame.topRight());
    }
    painter.restore();
}

} // namespace

PictureMarkBox::PictureMarkBox(const QString& text, const QFont& font, QWidget* parent)
    : QLineEdit(text, parent)
    , m_plainFont(font)
{
    fitSpacesTo(text);
    connect(this, &QLineEdit::textChanged, this, [this](const QString& now) {
        fitSpacesTo(now);
        emit edited(now, cursorPosition(), m_change);
    });
}

void PictureMarkBox::fitSpacesTo(const QString& text)
{
    // Spaces are widened only while there is a mark to make room for, so a
    // text without pictures looks as it always did.
    const QFont wanted = text.contains(kDrawnMark) ? widenedSpaces(m_plainFont) : m_plainFont;
    if (font() != wanted) {
        setFont(wanted);
    }
}

void PictureMarkBox::showPictures(std::vector<bool> held)
{
    m_held = std::move(held);
    update();
}

std::optional<std::size_t> PictureMarkBox::insertMark()
{
    const qsizetype before = text().size() - selectionLength();
    insert(QString(kDrawnMark));
    if (text().size() == before) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(QStringView(text()).left(cursorPosition() - 1).count(kDrawnMark));
}

void PictureMarkBox::undoOrRedo(BoxPictures::Change change, void (QLineEdit::*step)())
{
    m_change = change;
    (this->*step)();
    m_change = BoxPictures::Change::Edit;
}

void PictureMarkBox::tellCopy()
{
    if (hasSelectedText()) {
        emit copied(selectionStart(), selectionLength());
    }
}

void PictureMarkBox::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Cut)) {
        tellCopy();
    }
    const bool undo = event->matches(QKeySequence::Undo);
    if (undo || event->matches(QKeySequence::Redo)) {
        m_change = undo ? BoxPictures::Change::Undo : BoxPictures::Change::Redo;
    }
    QLineEdit::keyPressEvent(event);
    m_change = BoxPictures::Change::Edit;
}

void PictureMarkBox::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The menu's undo, redo, cut and copy are the box's own, told as the
    // keys' are. They are known by the box's own words for them, which
    // carry their shortcut after a tab.
    const auto replace = [this](QAction* action, auto step) {
        disconnect(action, &QAction::triggered, this, nullptr);
        connect(action, &QAction::triggered, this, step);
    };
    const auto is = [](QAction* action, const char* name, const char* words) {
        return action->objectName() == QLatin1String(name)
            || action->text().section(QLatin1Char('\t'), 0, 0) == QCoreApplication::translate("QLineEdit", words);
    };
    for (QAction* action : menu->actions()) {
        if (is(action, "edit-undo", "&Undo")) {
            replace(action, [this] { undoOrRedo(BoxPictures::Change::Undo, &QLineEdit::undo); });
        } else if (is(action, "edit-redo", "&Redo")) {
            replace(action, [this] { undoOrRedo(BoxPictures::Change::Redo, &QLineEdit::redo); });
        } else if (is(action, "edit-cut", "Cu&t")) {
            replace(action, [this] {
                tellCopy();
                cut();
            });
        } else if (is(action, "edit-copy", "&Copy")) {
            replace(action, [this] {
                tellCopy();
                copy();
            });
        }
    }
    menu->popup(event->globalPos());
}

void PictureMarkBox::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    emit focused();
}

int PictureMarkBox::positionAt(int x) const
{
    return inputMethodQuery(Qt::ImCursorPosition, QPointF(x, height() / 2.0)).toInt();
}

QRect PictureMarkBox::markArea(int position, int markWidth) const
{
    // The cursor moves past the mark at the middle of its space: found by
    // halving, between the box's left and right edges.
    int low = contentsRect().left();
    int high = contentsRect().right();
    if (positionAt(low) > position || positionAt(high) <= position) {
        return {};
    }
    while (low + 1 < high) {
        const int middle = low + (high - low) / 2;
        (positionAt(middle) > position ? high : low) = middle;
    }
    const QRect line = cursorRect();
    return QRect(high - markWidth / 2, line.top(), markWidth, line.height());
}

void PictureMarkBox::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    const QString shown = text();
    if (!shown.contains(kDrawnMark) || echoMode() != QLineEdit::Normal) {
        return;
    }
    const QFontMetricsF metrics(font());
    const int markWidth = qRound(metrics.horizontalAdvance(QLatin1Char(' ')) + font().wordSpacing());
    // A little smaller than the space, so that the cursor beside a mark
    // stays clear of it.
    const int side = std::max(4, std::min(markWidth, qRound(metrics.ascent())) - 4);
    QPainter painter(this);
    const int first = std::max(0, positionAt(contentsRect().left()) - 1);
    const int last = positionAt(contentsRect().right());
    const int selected = hasSelectedText() ? selectionStart() : -1;
    std::size_t mark = static_cast<std::size_t>(QStringView(shown).left(first).count(kDrawnMark));
    for (qsizetype at = shown.indexOf(kDrawnMark, first); at >= 0 && at <= last; at = shown.indexOf(kDrawnMark, at + 1), ++mark) {
        const QRect area = markArea(int(at), markWidth);
        if (area.isEmpty()) {
            continue;
        }
        const bool inSelection = selected >= 0 && at >= selected && at < selected + selectionLength();
        const bool held = mark < m_held.size() && m_held[mark];
        const QColor background = palette().color(inSelection ? QPalette::Highlight : QPalette::Base);
        const QColor colour = inSelection ? palette().color(QPalette::HighlightedText)
            : held                        ? palette().color(QPalette::Text)
                                          : ThemeColours::toneOn(ThemeColours::Tone::Problem, background);
        const QRectF frame(area.center().x() - side / 2.0 + 0.5, area.center().y() - side / 2.0 + 0.5, side, side);
        drawSymbol(painter, frame, colour, held);
    }
}

} // namespace window
