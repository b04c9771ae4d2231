#pragma once

#include "window/session.h"
#include "window/shown_sketch.h"
#include "window/theme_colours.h"

#include <QLabel>

#include <cstddef>
#include <optional>

namespace window {

// The short text under the preview that answers what a hobbyist asks
// first about the sketch in the panel: for a marquee, how many of the
// message's characters the sign will show, and whether the sketches will run
// on the board (the panel's, and the one the write button puts in bb.ino);
// for the wiring test, its own figures. Red when neither runs, a warning
// colour when only one does. The bytes of SRAM or flash each takes, the
// stack the sketch was measured to need and the longest message each holds
// are in its tooltip. After a hand edit it says that its figures are the
// generated sketch's, until the toolchain has measured the panel's text.
// The figures are BoardMemory's, or the toolchain's once the panel's text
// was built; what the panel holds is the Session's; this words and colours
// them. A screen reader reads the text it shows, its role and details as
// the description.
class MemoryLine : public QLabel {
    Q_OBJECT

public:
    // What the line says: its text, the tooltip's details, and its tone
    // (plain when the sketches run).
    struct Account {
        QString text;
        QString details;
        ThemeColours::Tone tone = ThemeColours::Tone::Plain;
    };

    explicit MemoryLine(QWidget* parent);

    // Describes the sketch the panel was given, or the toolchain's figures
    // when there are some for the panel as it is.
    static Account describe(const ShownSketch& sketch, const std::optional<Session::Measured>& measured);
    void show(const ShownSketch& sketch, const std::optional<Session::Measured>& measured);

private:
    static Account describeMessage(const ShownSketch& given);
    static Account describeWholeMessage(const ShownSketch& sketch);
    static Account describeWiringTest();
    static Account describeMeasured(const Session::Measured& measured, bool wiringTest);
    void present(const Account& account);
};

} // namespace window
