#pragma once

#include "generation/sign_animation.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <optional>

namespace window {

// Plays a sketch on a picture of the sign, 64 x 16 round LEDs, in real
// time and looping; a click pauses and resumes it. What is shown in each
// frame is the animation model's; this only keeps time and paints.
class SignPreview : public QWidget {
    Q_OBJECT

public:
    static constexpr int kPitch = 6;  // pixels from one LED's centre to the next
    static constexpr int kMargin = 4;

    explicit SignPreview(QWidget* parent);

    void play(const generation::SignAnimation& animation);
    bool paused() const { return !m_clock.isValid(); }
    void setPaused(bool paused);
    // The frame on show now (0 before anything was played).
    std::size_t frameIndex() const;
    const std::optional<generation::SignAnimation>& animation() const { return m_animation; }
    // Where LED (column, row) is drawn, in widget pixels.
    static QPoint ledCentre(int column, int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void tick();
    double playedMicroseconds() const;

    std::optional<generation::SignAnimation> m_animation;
    QTimer m_ticker;
    QElapsedTimer m_clock;      // running while playing, invalid while paused
    double m_playedBefore = 0;  // microseconds played before the clock last started
    std::size_t m_shownFrame = 0;
};

} // namespace window
