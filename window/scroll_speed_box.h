#pragma once

#include <QWidget>

class QLabel;
class QSpinBox;

namespace window {

// The scroll speed, on one row right of the output panel: how many frames
// each one-column step of the marquee is shown (1 to 30; 6 at every start,
// since nothing is kept between runs), and beside it what that means on the
// sign, the time one Chinese character takes to pass on the board's clock,
// which a screen reader reads as it changes. It only holds the number and
// says when the user changes it; the sketches are made with the Session's.
class ScrollSpeedBox : public QWidget {
    Q_OBJECT

public:
    explicit ScrollSpeedBox(QWidget* parent);

    // The control the Tab key stops at.
    QWidget* focusTarget() const;
    // What stepFrames frames a step mean for a reader: about how long a
    // Chinese character, 16 columns, takes to scroll by.
    static QString describe(int stepFrames);

signals:
    // The user chose another speed.
    void stepFramesChanged(int stepFrames);

private:
    QLabel* m_label;
    QSpinBox* m_frames;
    QLabel* m_meaning;
};

} // namespace window
