#include "platform/qt_glyph_canvas.h"

#include "platform/text_conversion.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <QtEndian>

#include <algorithm>
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

// Texts up to this many code units are laid out whole every time.
constexpr qsizetype kShortText = 256;

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
    if (text.size() <= kShortText || width <= 0 || hasRightToLeft(text)) {
        return width <= 0 ? 0 : text.size();
    }
    for (qsizetype length = kShortText; length < text.size(); length *= 2) {
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

int QtGlyphCanvas::pixelSize(double points)
{
    return std::max(1, static_cast<int>(std::lround(points * kDotsPerInch / 72.0)));
}

QFont QtGlyphCanvas::font() const
{
    QFont font(m_faceName);
    // Points become pixels at the canvas's own 96 dpi, never the screen's.
    font.setPixelSize(pixelSize(m_points));
    font.setBold(m_bold);
    font.setItalic(m_italic);
    // Every rendering choice is the canvas's own. Left to the desktop, Qt
    // takes the hint style from the user's fontconfig and turns hinting off
    // altogether when the screen is scaled, and every outline glyph (all of
    // the Kai face, the Ming face in italic) then lands on other pixels.
    // Vertical hinting is what Debian's default "slight" hint style gives,
    // so the words are those the tool has always made there.
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    font.setHintingPreference(QFont::PreferVerticalHinting);
    font.setKerning(false);
    // Whatever is not set here would otherwise be taken from the
    // application's font, which a desktop theme may give a stretch, letter
    // spacing or capitals of its own.
    font.setResolveMask(QFont::AllPropertiesResolved);
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
    const int baseline = m_penY + designAscent(drawFont);
    // Starting left of the image, a long text would be laid out from its
    // first character up to the image's right edge every time; a piece of
    // a wide message far to the right would cost the whole message so far.
    if (m_penX < 0 && line.size() > kShortText && !hasRightToLeft(line)) {
        drawLaidOut(painter, line, drawFont, baseline);
        return;
    }
    const qsizetype length = reachingLength(line, QFontMetrics(drawFont), kWidth - m_penX);
    painter.drawText(QPoint(m_penX, baseline), line.left(length));
}

void QtGlyphCanvas::drawLaidOut(QPainter& painter, const QString& line, const QFont& drawFont, int baseline)
{
    if (line != m_laidText || drawFont != m_laidFont) {
        m_laidRuns.clear();
        QTextLayout layout(line, drawFont, &m_image);
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine laidLine = layout.createLine();
        laidLine.setPosition(QPointF(0, 0));
        layout.endLayout();
        // Positions on the baseline, as a point-anchored drawText takes them.
        const QPointF toBaseline(0, -laidLine.ascent());
        for (QGlyphRun run : layout.glyphRuns()) {
            QList<QPointF> positions = run.positions();
            for (QPointF& position : positions) {
                position += toBaseline;
            }
            run.setPositions(positions);
            m_laidRuns.push_back(run);
        }
        m_laidText = line;
        m_laidFont = drawFont;
    }
    const double left = -m_penX - kReachMargin;
    const double right = -m_penX + kWidth + kReachMargin;
    const auto byX = [](const QPointF& position, double x) { return position.x() < x; };
    for (const QGlyphRun& run : m_laidRuns) {
        const QList<QPointF> positions = run.positions();
        const auto first = std::lower_bound(positions.begin(), positions.end(), left, byX);
        const auto last = std::lower_bound(first, positions.end(), right, byX);
        if (first == last) {
            continue;
        }
        const qsizetype from = first - positions.begin();
        const qsizetype count = last - first;
        QGlyphRun piece = run;
        piece.setGlyphIndexes(run.glyphIndexes().mid(from, count));
        piece.setPositions(positions.mid(from, count));
        painter.drawGlyphRun(QPointF(m_penX, baseline), piece);
    }
}

void QtGlyphCanvas::drawPicture(const generation::Picture& picture)
{
    // Lit pixels are exactly black, as glyph pixels are, so the sampler
    // reads a picture by the same rule as text.
    const int width = static_cast<int>(picture.width());
    const int firstX = std::max(0, -m_penX);
    const int lastX = std::min(width, kWidth - m_penX);
    for (int row = 0; row < generation::Picture::kHeight; ++row) {
        const int y = m_penY + row;
        if (y < 0 || y >= kHeight) {
            continue;
        }
        auto* line = reinterpret_cast<QRgb*>(m_image.scanLine(y));
        for (int x = firstX; x < lastX; ++x) {
            if (picture.lit(static_cast<std::size_t>(x), row)) {
                line[m_penX + x] = qRgb(0, 0, 0);
            }
        }
    }
}

int QtGlyphCanvas::textAdvance(const std::u16string& text) const
{
    return QFontMetrics(font()).horizontalAdvance(fromU16(text));
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
