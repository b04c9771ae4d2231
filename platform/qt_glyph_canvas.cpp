#include "platform/qt_glyph_canvas.h"

#include "platform/text_conversion.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRawFont>
#include <QtEndian>

#include <cmath>

namespace platform {

namespace {

constexpr double kDotsPerInch = 96.0;
constexpr int kDotsPerMeter = 3780; // 96 dpi, whatever the screen says

// The ascent the font's designers gave (hhea ascender over units per em),
// scaled and rounded up as FreeType rounds it. Qt reports the ascent of the
// bitmap strike instead (14 px for the Ming face at 16 px), which would
// put every Ming character one row too high: its top row would land on the
// half-weight row 0 and its bottom row would never reach the sign.
int designAscent(const QFont& font)
{
    const QRawFont raw = QRawFont::fromFont(font);
    const QByteArray hhea = raw.isValid() ? raw.fontTable("hhea") : QByteArray();
    const QByteArray head = raw.isValid() ? raw.fontTable("head") : QByteArray();
    if (hhea.size() >= 6 && head.size() >= 20) {
        const auto ascender = qFromBigEndian<qint16>(hhea.constData() + 4);
        const auto unitsPerEm = qFromBigEndian<quint16>(head.constData() + 18);
        if (unitsPerEm > 0) {
            return static_cast<int>(std::ceil(double(ascender) * font.pixelSize() / unitsPerEm));
        }
    }
    return QFontMetrics(font).ascent();
}

// Past the image's right edge plus this margin no glyph can reach back into
// it: overhangs and negative bearings are a few pixels at 16 px.
constexpr int kReachMargin = 64;

bool hasRightToLeft(const QString& text)
{
    for (const QChar c : text) {
        switch (c.direction()) {
        case QChar::DirR:
        case QChar::DirAL:
        case QChar::DirRLE:
        case QChar::DirRLO:
        case QChar::DirRLI:
            return true;
        default:
            break;
        }
    }
    return false;
}

// The leading part of text that decides every pixel up to width: the whole
// text when it is short or holds right-to-left script (whose later
// characters may be laid out to the left), else a prefix whose advance
// passes width by the margin, never ending inside a surrogate pair.
qsizetype reachingLength(const QString& text, const QFontMetrics& metrics, int width)
{
    constexpr qsizetype kShort = 256;
    if (text.size() <= kShort || width <= 0 || hasRightToLeft(text)) {
        return width <= 0 ? 0 : text.size();
    }
    for (qsizetype length = kShort; length < text.size(); length *= 2) {
        qsizetype cut = length;
        if (text.at(cut - 1).isHighSurrogate()) {
            ++cut;
        }
        if (metrics.horizontalAdvance(text.left(cut)) > width + kReachMargin) {
            return cut;
        }
    }
    return text.size();
}

} // namespace

QtGlyphCanvas::QtGlyphCanvas(const QString& faceName)
    : m_image(kWidth, kHeight, QImage::Format_RGB32)
    , m_faceName(faceName)
{
    m_image.setDotsPerMeterX(kDotsPerMeter);
    m_image.setDotsPerMeterY(kDotsPerMeter);
    m_image.fill(kBackground);
}

void QtGlyphCanvas::setFontSize(double points)
{
    m_points = points;
}

void QtGlyphCanvas::setFaceName(const std::string& face)
{
    m_faceName = fromUtf8(face);
}

void QtGlyphCanvas::setBold(bool on)
{
    m_bold = on;
}

void QtGlyphCanvas::setItalic(bool on)
{
    m_italic = on;
}

void QtGlyphCanvas::setPenPosition(int x, int y)
{
    m_penX = x;
    m_penY = y;
}

void QtGlyphCanvas::clear()
{
    m_image.fill(kBackground);
    m_penX = 0;
    m_penY = 0;
}

QFont QtGlyphCanvas::font() const
{
    QFont font(m_faceName);
    // Points become pixels at the canvas's own 96 dpi, never the screen's.
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(m_points * kDotsPerInch / 72.0))));
    font.setBold(m_bold);
    font.setItalic(m_italic);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    font.setKerning(false);
    return font;
}

int QtGlyphCanvas::ascent() const
{
    return designAscent(font());
}

void QtGlyphCanvas::drawText(const std::u16string& text)
{
    if (text.empty()) {
        return;
    }
    const QFont drawFont = font();
    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QColor(0, 0, 0));
    painter.setFont(drawFont);
    // A point-anchored drawText lays out a single line and never wraps;
    // the image clips whatever runs past its edges.
    const QString line = fromU16(text);
    const qsizetype length = reachingLength(line, QFontMetrics(drawFont), kWidth - m_penX);
    painter.drawText(QPoint(m_penX, m_penY + designAscent(drawFont)), line.left(length));
}

int QtGlyphCanvas::textWidth(const std::u16string& text) const
{
    const QFontMetrics metrics(font());
    const QString line = fromU16(text);
    const QRect ink = metrics.boundingRect(line);
    return std::max(metrics.horizontalAdvance(line), ink.right() + 1);
}

std::int32_t QtGlyphCanvas::readPixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) {
        return -1;
    }
    const auto* line = reinterpret_cast<const QRgb*>(m_image.constScanLine(y));
    return static_cast<std::int32_t>(line[x] & 0xFFFFFF);
}

} // namespace platform
