#pragma once

#include "generation/picture.h"

#include <cstdint>
#include <string>

namespace generation {

// The pixel image that text and pictures are drawn on and read back from.
// It knows fonts, drawing and pixels; it does not know what a column word
// or a sketch is, nor where a picture comes from.
class GlyphCanvas {
public:
    static constexpr int kWidth = 1205;
    static constexpr int kHeight = 29;

    virtual ~GlyphCanvas() = default;

    virtual void setFontSize(double points) = 0;
    // The face name is kept exactly as given (UTF-8), installed or not.
    virtual void setFaceName(const std::string& face) = 0;
    virtual void setBold(bool on) = 0;
    virtual void setItalic(bool on) = 0;
    virtual void setPenPosition(int x, int y) = 0;

    // Fills the drawable area with the background and moves the pen to (0, 0).
    virtual void clear() = 0;
    // Draws one line at the pen in black; what runs past an edge is cut off.
    virtual void drawText(const std::u16string& text) = 0;
    // Draws the picture's lit pixels in black, its top left pixel at the
    // pen; its unlit pixels leave the canvas as it was, and what runs past
    // an edge is cut off.
    virtual void drawPicture(const Picture& picture) = 0;
    // How many pixels wide the text draws at the current font: its advance,
    // or further when the last glyph reaches past it.
    virtual int textWidth(const std::u16string& text) const = 0;
    // How far the pen moves on drawing the text: its advance alone, where
    // whatever is drawn next starts.
    virtual int textAdvance(const std::u16string& text) const = 0;
    // The pixel's colour as 0xRRGGBB (0 is black), or -1 outside the area.
    virtual std::int32_t readPixel(int x, int y) const = 0;
};

} // namespace generation
