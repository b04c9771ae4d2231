#pragma once

#include <QLabel>

#include <cstddef>

namespace platform {
class QtGlyphCanvas;
}

namespace window {

// The line under the preview that says what of the message reaches the
// sign and whether the sketches will run on the board: how many characters
// fit on the canvas when the message is wider, how much of the SRAM each
// standard sketch (the panel's and the file's) takes, and which of them
// leaves the stack the room it needs. Red when neither runs, a warning
// colour when only one does. The figures are BoardMemory's; this words and
// colours them.
class MemoryLine : public QLabel {
    Q_OBJECT

public:
    explicit MemoryLine(QWidget* parent);

    // Describes the sketches made from this message, drawn on this canvas,
    // its drawing ending at column drawnWidth - 1.
    void showMessage(const QString& message, std::size_t drawnWidth, const platform::QtGlyphCanvas& canvas);
    // Describes the whole-message sketch of a message this many columns wide.
    void showWholeMessage(std::size_t width);
    static QString describeWholeMessage(std::size_t width);
    // The same words, from the message's length in UTF-16 code units, how
    // far its drawing reaches, its characters, and how many of them the
    // canvas holds.
    QString describe(std::size_t messageLength, std::size_t drawnWidth, std::size_t characters,
                     std::size_t charactersOnSign) const;
    // How many of the message's characters, from the first, the canvas
    // holds whole at its current font.
    static std::size_t charactersOnSign(const QString& message, const platform::QtGlyphCanvas& canvas);
};

} // namespace window
