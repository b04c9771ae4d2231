#include "window/caption_button.h"

#include <QFontMetricsF>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextLayout>
#include <QTextOption>

namespace window {

namespace {

// Below this a caption is no longer comfortably read; no designed caption
// needs to go so small.
constexpr qreal kSmallestPoints = 6.0;

// Sets the caption's lines one under the other, from one's descent to the
// next one's ascent, without the face's extra leading. Centred by their
// ink or, as Qt centres text, by their ascents and descents: a face's
// brackets may reach past those, and then only the ink tells whether the
// caption shows whole.
CaptionButton::Lines setLines(const QString& caption, const QFont& font, const QRectF& area, QPaintDevice* device,
                              bool centreInk)
{
    CaptionButton::Lines lines{font, {}, {}, {}};
    QTextLayout layout(caption, font, device);
    QTextOption wrapping(Qt::AlignHCenter);
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(wrapping);
    QList<qreal> widths;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(area.width());
        lines.texts << caption.mid(line.textStart(), line.textLength());
        widths << line.naturalTextWidth();
    }
    layout.endLayout();

    const QFontMetricsF metrics(font, device);
    const qreal lineHeight = metrics.ascent() + metrics.descent();
    QRectF inked;
    for (qsizetype i = 0; i < lines.texts.size(); ++i) {
        const QPointF origin(area.center().x() - widths[i] / 2, metrics.ascent() + lineHeight * qreal(i));
        lines.origins << origin;
        lines.ink << metrics.tightBoundingRect(lines.texts[i]).translated(origin);
        inked = inked.united(lines.ink.constLast());
    }
    const qreal middle = centreInk ? inked.center().y() : lineHeight * qreal(lines.texts.size()) / 2;
    const QPointF shift(0, area.center().y() - middle);
    for (qsizetype i = 0; i < lines.texts.size(); ++i) {
        lines.origins[i] += shift;
        lines.ink[i].translate(shift);
    }
    return lines;
}

bool fits(const CaptionButton::Lines& lines, const QRectF& area)
{
    for (const QRectF& ink : lines.ink) {
        if (!area.contains(ink)) {
            return false;
        }
    }
    return true;
}

} // namespace

CaptionButton::CaptionButton(const QString& caption, QWidget* parent)
    : PushButton(caption, parent)
{
}

CaptionButton::Lines CaptionButton::layOut(const QString& caption, const QFont& font, const QRectF& area,
                                           QPaintDevice* device)
{
    // A caption that fits is set as Qt would set it; else it is centred by
    // its ink, and then set smaller until it fits.
    if (Lines lines = setLines(caption, font, area, device, false); fits(lines, area)) {
        return lines;
    }
    QFont sized = font;
    for (qreal points = font.pointSizeF();; points -= 0.5) {
        sized.setPointSizeF(points);
        Lines lines = setLines(caption, sized, area, device, true);
        if (fits(lines, area) || points - 0.5 < kSmallestPoints) {
            return lines;
        }
    }
}

QRectF CaptionButton::captionArea() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    return QRectF(style()->subElementRect(QStyle::SE_PushButtonContents, &option, this).adjusted(1, 0, -1, 0));
}

void CaptionButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    const QRectF area = captionArea();
    painter.setPen(palette().color(isEnabled() ? QPalette::ButtonText : QPalette::PlaceholderText));
    if (QFontMetricsF(font(), this).horizontalAdvance(text()) <= area.width()) {
        // One line, set as every other button sets its caption.
        QTextOption centred(Qt::AlignCenter);
        painter.drawText(area, text(), centred);
    } else {
        const Lines lines = layOut(text(), font(), area, this);
        painter.setFont(lines.font);
        for (qsizetype i = 0; i < lines.texts.size(); ++i) {
            painter.drawText(lines.origins[i], lines.texts[i]);
        }
    }
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

} // namespace window
