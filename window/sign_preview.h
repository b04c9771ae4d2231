#pragma once

#include "simulator/simulator_output.h"
#include "generation/sign_animation.h"

#include <QElapsedTimer>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <array>
#include <optional>

namespace window {

// Plays a sketch on a picture of the sign, 64 x 16 round LEDs, in the
// board's time and looping; a click or Space pauses and resumes it, and a
// paused preview says so. It takes the keyboard focus, and shows it. While
// the wiring test plays, it says in a note what the sign should light and
// which line drives it; where the note is shown is the window's. What is
// shown in each frame, and when, is the animation
// model's; this keeps the clock and paints. It repaints only when the
// picture changes, from LED images drawn once, and sleeps until the next
// change rather than ticking. It can also show a running board live, each
// LED as bright as it was lit, held under a pause mark, or held dimmed once
// the run is over; measuring that is the simulated board's, and a click or
// Space on the live sign asks whoever runs the board to pause or resume it.
class SignPreview : public QWidget {
    Q_OBJECT

public:
    static constexpr int kPitch = 6;  // pixels from one LED's centre to the next
    static constexpr int kMargin = 4;

    explicit SignPreview(QWidget* parent);

    // How the live board is shown: as it lights the LEDs now, held where a
    // paused board stands (dimmed, under a pause mark), or held as the run
    // left it (dimmed).
    enum class LiveLook { Running, Paused, Held };

    void play(const generation::SignAnimation& animation);
    // Shows each LED at its brightness (0 dark to 15 lit all of its share),
    // column by column, until the next play(); the animation stops meanwhile.
    void showLevels(const simulator::SimulatorOutput::Levels& levels);
    // How the live board is shown, until the next play().
    void setLiveLook(LiveLook look);
    bool live() const { return m_live.has_value(); }
    LiveLook liveLook() const { return m_live.value_or(LiveLook::Running); }
    const simulator::SimulatorOutput::Levels& levels() const { return m_levels; }
    // Whether the played preview is paused; the live board is never the
    // preview's to pause.
    bool paused() const { return m_animation && !m_live && !m_clock.isValid(); }
    void setPaused(bool paused);
    // The frame on show now (0 before anything was played).
    std::size_t frameIndex() const;
    const std::optional<generation::SignAnimation>& animation() const { return m_animation; }
    // Where LED (column, row) is drawn, in widget pixels.
    static QPoint ledCentre(int column, int row);
    // What the sign should light at this frame of the wiring test, and the
    // port bit and header pin behind it; empty for the marquee.
    static QString describe(const generation::SignAnimation& animation, std::size_t frame);

signals:
    // The note for the frame on show changed.
    void noteChanged(const QString& note);
    // A click or Space on the live sign, while the board runs or is paused.
    void livePauseRequested();
    // The picture on show changed: the next frame, or the live board's LEDs.
    void pictureChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void tick();
    void togglePause();
    void scheduleNextChange(std::size_t frame);
    double playedMicroseconds() const;
    void renderPicture();
    void showNoteFor(std::size_t frame);

    std::optional<generation::SignAnimation> m_animation;
    QTimer m_ticker;
    QElapsedTimer m_clock;      // running while playing, invalid while paused
    double m_playedBefore = 0;  // microseconds played before the clock last started
    std::size_t m_shownFrame = 0;
    generation::SignAnimation::Frame m_shownPicture{};
    std::optional<LiveLook> m_live; // while the board is shown live, how
    simulator::SimulatorOutput::Levels m_levels{};
    std::array<QPixmap, simulator::SimulatorOutput::kLevels> m_levelLeds; // one LED, dark to lit
    QPixmap m_picture;          // the whole sign as m_shownPicture or m_levels light it
    QString m_note;
};

} // namespace window
