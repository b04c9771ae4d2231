#include "window/sign_preview.h"

#include <QMouseEvent>
#include <QPainter>

namespace window {

namespace {
const QColor kLit(255, 48, 32);
const QColor kDark(72, 24, 20);
const QColor kBoard(16, 16, 16);
constexpr int kTickMilliseconds = 20; // frames last 6.6 ms; 50 repaints a second is plenty to see them
}

SignPreview::SignPreview(QWidget* parent)
    : QWidget(parent)
{
    setToolTip(QStringLiteral("Click to pause or resume"));
    setCursor(Qt::PointingHandCursor);
    m_ticker.setInterval(kTickMilliseconds);
    connect(&m_ticker, &QTimer::timeout, this, &SignPreview::tick);
}

QPoint SignPreview::ledCentre(int column, int row)
{
    return QPoint(kMargin + column * kPitch + kPitch / 2, kMargin + row * kPitch + kPitch / 2);
}

void SignPreview::play(const generation::SignAnimation& animation)
{
    m_animation = animation;
    m_playedBefore = 0;
    m_shownFrame = 0;
    m_clock.start();
    m_ticker.start();
    update();
}

void SignPreview::setPaused(bool paused)
{
    if (!m_animation || paused == this->paused()) {
        return;
    }
    if (paused) {
        m_playedBefore = playedMicroseconds();
        m_clock.invalidate();
        m_ticker.stop();
    } else {
        m_clock.start();
        m_ticker.start();
    }
    tick();
}

double SignPreview::playedMicroseconds() const
{
    return m_playedBefore + (m_clock.isValid() ? double(m_clock.nsecsElapsed()) / 1000.0 : 0.0);
}

std::size_t SignPreview::frameIndex() const
{
    return m_shownFrame;
}

void SignPreview::tick()
{
    if (!m_animation) {
        return;
    }
    const std::size_t frame = m_animation->frameAtMicroseconds(playedMicroseconds());
    if (frame != m_shownFrame) {
        m_shownFrame = frame;
        update();
    }
}

void SignPreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), kBoard);
    const generation::SignAnimation::Frame frame =
        m_animation ? m_animation->frame(m_shownFrame) : generation::SignAnimation::Frame{};
    painter.setPen(Qt::NoPen);
    const double radius = (kPitch - 1) / 2.0;
    for (int column = 0; column < generation::SignAnimation::kColumns; ++column) {
        for (int row = 0; row < 16; ++row) {
            painter.setBrush(generation::SignAnimation::lit(frame, column, row) ? kLit : kDark);
            painter.drawEllipse(QPointF(ledCentre(column, row)) + QPointF(0.5, 0.5), radius, radius);
        }
    }
}

void SignPreview::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        setPaused(!paused());
    }
}

} // namespace window
