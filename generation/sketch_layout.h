#pragma once

#include "generation/marquee_shape.h"

#include <algorithm>
#include <cstddef>

namespace generation {

// Which ports carry the column word's two bytes. The panel sketch drives the
// high byte on port K and the low byte on port F; the sketch file is for
// boards wired to B and A instead. Port C selects the column in both.
enum class PortWiring { PortsKF, PortsBA };

// The ports, by their letters, that carry a column word's high and low byte
// in a wiring: the sketches write them and the simulated board reads them.
struct DataPorts {
    char high;
    char low;
};
constexpr DataPorts dataPorts(PortWiring wiring)
{
    return wiring == PortWiring::PortsKF ? DataPorts{'K', 'F'} : DataPorts{'B', 'A'};
}

// Where the message words live on the board: an array in SRAM, or arrays in
// flash read back one column at a time.
enum class MessageStorage { Sram, Flash };

// How many message columns a sketch carries: a count from the message's
// length (the panel's, and the file's, which runs on at least until the
// message's last drawn column has entered the sign; both keep only what the
// 1205-pixel canvas holds), or the width the whole message takes when drawn.
enum class ColumnRule { PanelLength, FileLength, DrawnWidth };

// What sets one sketch apart from the others. Every sketch is written by the
// same steps; these are the only differences between them. The encoding and
// where the text goes are the line file's business, not the layout's.
struct SketchLayout {
    PortWiring wiring;
    MessageStorage storage;
    ColumnRule columns;
    // Frames each marquee step is shown: the scroll speed.
    int stepFrames = MarqueeShape::kMarqueeFrames;

    static constexpr SketchLayout panel() { return {PortWiring::PortsKF, MessageStorage::Sram, ColumnRule::PanelLength}; }
    static constexpr SketchLayout file() { return {PortWiring::PortsBA, MessageStorage::Sram, ColumnRule::FileLength}; }
    static constexpr SketchLayout wholeMessage(PortWiring wiring)
    {
        return {wiring, MessageStorage::Flash, ColumnRule::DrawnWidth};
    }

    // The message column count for a message of this many UTF-16 code units
    // that draws this many pixels wide (for the standard sketches: its last
    // column with ink on the canvas, plus one). A message that holds
    // pictures runs on in every sketch until its last drawn column has
    // entered the sign, as the file's always does: one wide picture draws
    // far more columns than its one mark counts. Text alone keeps the
    // panel's count from its length only, as the sketches in use have it.
    constexpr std::size_t messageColumns(std::size_t length, std::size_t drawnWidth, bool holdsPictures = false) const
    {
        switch (columns) {
        case ColumnRule::PanelLength:
            return holdsPictures ? std::max((length + 20) * 13, drawnWidth) : (length + 20) * 13;
        case ColumnRule::FileLength:
            // L x 14 + 16 allows 14 pixels a character, and Chinese ones take
            // 16: from nine characters on, the marquee would end before the
            // message's last characters had shown.
            return std::max(length * 14 + 16, drawnWidth);
        case ColumnRule::DrawnWidth:
            break;
        }
        return drawnWidth;
    }
};

} // namespace generation
