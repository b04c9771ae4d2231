#pragma once

#include "generation/glyph_canvas.h"

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QImage>
#include <QString>

class QPainter;

namespace platform {

// The glyph canvas as a QImage at 96 dpi: black, unsmoothed text on a light
// grey background, so that at 16 px the Ming face draws from its hand-tuned
// bitmaps and every glyph pixel is exactly black. Its font makes every
// rendering choice itself, so the screen's scale, the font DPI and the
// user's font settings leave its pixels alone (those Qt applies to the whole
// process are pinned by pinCanvasRendering). It does not show itself;
// the window paints image() where it wants it. Of a long text it lays out
// only the part that can reach the image; when the same long text is drawn
// again further left, piece by piece, it is laid out once and each piece
// draws only the glyphs that reach the image.
class QtGlyphCanvas : public generation::GlyphCanvas {
public:
    // The classic window-face grey; anything but black reads as unlit.
    static constexpr QRgb kBackground = 0xFFD4D0C8;

    explicit QtGlyphCanvas(const QString& faceName);

    void setFontSize(double points) override;
    void setFaceName(const std::string& face) override;
    void setBold(bool on) override;
    void setItalic(bool on) override;
    void setPenPosition(int x, int y) override;
    void clear() override;
    void drawText(const std::u16string& text) override;
    void drawPicture(const generation::Picture& picture) override;
    int textWidth(const std::u16string& text) const override;
    int textAdvance(const std::u16string& text) const override;
    std::int32_t readPixel(int x, int y) const override;

    const QImage& image() const { return m_image; }
    QString faceName() const { return m_faceName; }
    // The pixel size of a font size in points at the canvas's 96 dpi.
    static int pixelSize(double points);
    // The font text is drawn with now, and its ascent in pixels.
    QFont font() const;
    int ascent() const;

private:
    // Draws the glyphs of a left-to-right text that reach the image, from
    // one layout of the whole text kept for the next piece.
    void drawLaidOut(QPainter& painter, const QString& line, const QFont& drawFont, int baseline);

    QImage m_image;
    QString m_faceName;
    double m_points = 12.0;
    bool m_bold = false;
    bool m_italic = false;
    int m_penX = 0;
    int m_penY = 0;
    // The last long text laid out whole, its font, and its glyphs with
    // their positions from its left end on the baseline.
    QString m_laidText;
    QFont m_laidFont;
    QList<QGlyphRun> m_laidRuns;
};

} // namespace platform
