#pragma once

#include <QColor>
#include <QObject>

class QWidget;

namespace window {

// The few colours the window chooses itself, each chosen against the
// palette it is shown on: the tones that mark a text as a problem, a
// warning or a success, and the focus frame drawn on the sign's black
// board. A tone keeps a contrast of at least 4.5 : 1 with its background
// (WCAG AA for text) and the frame 3 : 1 with the board (WCAG for a
// control's outline), on a dark theme as on a light one; on the usual light
// palettes the designed colours already do, and are kept. Every other
// colour is the palette's own. It does not decide which text is a problem,
// nor does it colour the sign's LEDs: those are the widgets' business.
class ThemeColours : public QObject {
    Q_OBJECT

public:
    enum class Tone { Plain, Problem, Warning, Success };

    static constexpr double kTextContrast = 4.5;
    static constexpr double kFrameContrast = 3.0;

    // Shows the widget's text in the tone on its own background, and keeps
    // doing so when the palette changes (a theme switched while the window
    // is open). Plain is the palette's own text colour.
    static void setTone(QWidget& widget, Tone tone);
    // The tone's colour for a text on this background.
    static QColor toneOn(Tone tone, const QColor& background);
    // The wanted colour, or the nearest one towards black or white that
    // keeps this contrast with the background.
    static QColor readableOn(const QColor& wanted, const QColor& background, double contrast);
    // The contrast ratio of two colours, from 1 (the same) to 21 (black on
    // white), as WCAG defines it.
    static double contrast(const QColor& a, const QColor& b);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ThemeColours(QWidget& widget);
    void apply();

    QWidget& m_widget;
    Tone m_tone = Tone::Plain;
    bool m_applying = false;
};

} // namespace window
