#pragma once

#include "window/theme_colours.h"

#include <QLabel>

#include <cstddef>

namespace platform {
class QtGlyphCanvas;
}

namespace window {

// The short text under the preview that answers what a hobbyist asks
// first: how many of the message's characters the sign will show, and
// whether the sketches will run on the board (the panel's, and the one
// the write button puts in bb.ino). Red when neither runs, a warning
// colour when only one does. The bytes of SRAM or flash each takes, the
// stack the sketch was measured to need and the longest message each
// holds are in its tooltip. The figures are BoardMemory's, or the
// toolchain's once the panel's sketch was built; this words and colours them.
class MemoryLine : public QLabel {
    Q_OBJECT

public:
    explicit MemoryLine(QWidget* parent);

    // Describes the sketches made from this message, drawn on this canvas,
    // its drawing ending at column drawnWidth - 1.
    void showMessage(const QString& message, std::size_t drawnWidth, const platform::QtGlyphCanvas& canvas);
    // Describes the whole-message sketch of a message of this many
    // characters, this many columns wide.
    void showWholeMessage(std::size_t characters, std::size_t width);
    // The toolchain's own figures for the panel's sketch as it was built
    // (-1 where the builder did not say).
    void showMeasured(int flashBytes, int sramBytes);
    // How many of the message's characters, from the first, the canvas
    // holds whole at its current font.
    static std::size_t charactersOnSign(const QString& message, const platform::QtGlyphCanvas& canvas);

private:
    void present(const QString& text, const QString& details, ThemeColours::Tone tone);
};

} // namespace window
