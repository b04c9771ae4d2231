#include "window/sign_preview.h"

#include "generation/wiring_test_sketch.h"
#include "window/theme_colours.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace window {

namespace {
const QColor kLit(255, 48, 32);
const QColor kDark(72, 24, 20);
const QColor kBoard(16, 16, 16);
// Looking further ahead for the next change costs more than waking up
// once more to look again.
constexpr std::size_t kLookAheadFrames = 2048;

QPixmap ledImage(const QColor& colour, qreal pixelRatio)
{
    const int side = static_cast<int>(std::ceil(SignPreview::kPitch * pixelRatio));
    QPixmap led(side, side);
    led.setDevicePixelRatio(pixelRatio);
    led.fill(kBoard);
    QPainter painter(&led);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    const double radius = (SignPreview::kPitch - 1) / 2.0;
    painter.drawEllipse(QPointF(SignPreview::kPitch / 2 + 0.5, SignPreview::kPitch / 2 + 0.5), radius, radius);
    return led;
}
} // namespace

SignPreview::SignPreview(QWidget* parent)
    : QWidget(parent)
{
    setToolTip(tr("按一下或按空白鍵暫停，再按一次繼續播放"));
    setAccessibleDescription(toolTip());
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_ticker.setSingleShot(true);
    m_ticker.setTimerType(Qt::PreciseTimer);
    connect(&m_ticker, &QTimer::timeout, this, &SignPreview::tick);
}

QPoint SignPreview::ledCentre(int column, int row)
{
    return QPoint(kMargin + column * kPitch + kPitch / 2, kMargin + row * kPitch + kPitch / 2);
}

void SignPreview::play(const generation::SignAnimation& animation)
{
    m_live.reset();
    m_animation = animation;
    m_playedBefore = 0;
    m_shownFrame = 0;
    m_clock.start();
    m_shownPicture = m_animation->frame(0);
    renderPicture();
    showNoteFor(0);
    scheduleNextChange(0);
    update();
    emit pictureChanged();
}

QString SignPreview::describe(const generation::SignAnimation& animation, std::size_t frame)
{
    using generation::SignAnimation;
    using generation::WiringTestSketch;
    const SignAnimation::Picture picture = animation.picture(frame);
    const auto pin = [](char port, int bit) { return QString::fromStdString(WiringTestSketch::pinName(port, bit)); };
    switch (picture.part) {
    case SignAnimation::Part::Row: {
        // Rows are counted from 1 at the top; the word's bit from 0.
        const char port = WiringTestSketch::rowPort(picture.index, animation.wiring());
        const int bit = WiringTestSketch::rowBit(picture.index);
        return tr("第 %1 列亮：資料位元 %2，P%3%4（%5 腳）")
            .arg(picture.index + 1)
            .arg(picture.index)
            .arg(QLatin1Char(port))
            .arg(bit)
            .arg(pin(port, bit));
    }
    case SignAnimation::Part::Column:
        // Port C's six low bits number the column, PC5 first as written.
        return tr("第 %1 行亮：PORTC=%2，PC5…PC0 為 %3（%4…%5 腳）")
            .arg(picture.index + 1)
            .arg(picture.index)
            .arg(picture.index, 6, 2, QLatin1Char('0'))
            .arg(pin('C', 5), pin('C', 0));
    case SignAnimation::Part::Everything:
        return tr("全部 %1 顆 LED 都亮").arg(SignAnimation::kRows * SignAnimation::kColumns);
    case SignAnimation::Part::Message:
        break;
    }
    return {};
}

void SignPreview::showNoteFor(std::size_t frame)
{
    const QString note = describe(*m_animation, frame);
    if (note != m_note) {
        m_note = note;
        emit noteChanged(m_note);
    }
}

void SignPreview::showLevels(const simulator::SimulatorOutput::Levels& levels)
{
    if (m_live && levels == m_levels) {
        return;
    }
    if (!m_live) {
        // The animation stops, and with it its notes: the next one played
        // says its first note afresh.
        m_live = LiveLook::Running;
        m_ticker.stop();
        m_clock.invalidate();
        m_note.clear();
    }
    m_levels = levels;
    renderPicture();
    update();
    emit pictureChanged();
}

void SignPreview::setLiveLook(LiveLook look)
{
    if (m_live && look != *m_live) {
        m_live = look;
        update();
    }
}

void SignPreview::setPaused(bool paused)
{
    if (m_live || !m_animation || paused == this->paused()) {
        return;
    }
    if (paused) {
        m_playedBefore = playedMicroseconds();
        m_clock.invalidate();
        m_ticker.stop();
        update();
    } else {
        m_clock.start();
        update();
    }
    tick();
}

double SignPreview::playedMicroseconds() const
{
    return m_playedBefore + (m_clock.isValid() ? double(m_clock.nsecsElapsed()) / 1000.0 : 0.0);
}

std::size_t SignPreview::frameIndex() const
{
    // Between changes the preview sleeps; the frame on show is the clock's.
    return m_animation && !m_live && m_clock.isValid() ? m_animation->frameAtMicroseconds(playedMicroseconds())
                                                       : m_shownFrame;
}

void SignPreview::tick()
{
    if (!m_animation) {
        return;
    }
    const std::size_t frame = m_animation->frameAtMicroseconds(playedMicroseconds());
    m_shownFrame = frame;
    const auto picture = m_animation->frame(frame);
    if (picture != m_shownPicture) {
        m_shownPicture = picture;
        renderPicture();
        showNoteFor(frame);
        update();
        emit pictureChanged();
    }
    if (m_clock.isValid()) {
        scheduleNextChange(frame);
    }
}

void SignPreview::scheduleNextChange(std::size_t frame)
{
    // Sleep until the first later frame that looks different; a picture
    // that holds costs no wake-ups while it holds.
    const std::size_t count = m_animation->frameCount();
    std::size_t next = frame + 1;
    const std::size_t last = frame + std::min(count, kLookAheadFrames);
    while (next < last && m_animation->frame(next % count) == m_shownPicture) {
        ++next;
    }
    const double loop = m_animation->loopMicroseconds();
    const double played = playedMicroseconds();
    const double loopStart = std::floor(played / loop) * loop;
    const double at = loopStart + m_animation->frameStartMicroseconds(next % count) + double(next / count) * loop;
    const double waitMilliseconds = std::max(0.0, (at - played) / 1000.0);
    m_ticker.start(static_cast<int>(std::min(std::ceil(waitMilliseconds), 1.0e9)));
}

void SignPreview::renderPicture()
{
    const qreal ratio = devicePixelRatioF();
    // From dark (level 0) to lit all of its share: the played marquee uses
    // the two ends, a running board every level between.
    constexpr int top = simulator::SimulatorOutput::kLevels - 1;
    if (m_levelLeds[0].isNull() || m_levelLeds[0].devicePixelRatio() != ratio) {
        for (int level = 0; level <= top; ++level) {
            const auto mix = [&](int dark, int lit) { return dark + (lit - dark) * level / top; };
            m_levelLeds[std::size_t(level)] = ledImage(
                QColor(mix(kDark.red(), kLit.red()), mix(kDark.green(), kLit.green()), mix(kDark.blue(), kLit.blue())),
                ratio);
        }
    }
    m_picture = QPixmap(size() * ratio);
    m_picture.setDevicePixelRatio(ratio);
    m_picture.fill(kBoard);
    QPainter painter(&m_picture);
    for (int column = 0; column < generation::SignAnimation::kColumns; ++column) {
        for (int row = 0; row < generation::SignAnimation::kRows; ++row) {
            const QPoint corner = ledCentre(column, row) - QPoint(kPitch / 2, kPitch / 2);
            const int level = m_live ? m_levels[std::size_t(column * generation::SignAnimation::kRows + row)]
                                     : (generation::SignAnimation::lit(m_shownPicture, column, row) ? top : 0);
            painter.drawPixmap(corner, m_levelLeds[std::size_t(level)]);
        }
    }
}

void SignPreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_picture.isNull() || m_picture.size() != size() * devicePixelRatioF()) {
        renderPicture();
    }
    painter.drawPixmap(0, 0, m_picture);
    const bool pauseMark = paused() || m_live == LiveLook::Paused;
    if (pauseMark || m_live == LiveLook::Held) {
        // Dimmed, so that a held picture is not taken for a running board.
        painter.fillRect(rect(), QColor(0, 0, 0, 110));
    }
    if (pauseMark) {
        // A pause sign and a word, so that a paused sign is not taken for
        // a stuck board.
        painter.setRenderHint(QPainter::Antialiasing);
        const int bar = 5;
        const int height = 22;
        QFont font = painter.font();
        font.setPixelSize(16);
        font.setBold(true);
        painter.setFont(font);
        const QString text = tr("已暫停");
        const int textWidth = painter.fontMetrics().horizontalAdvance(text);
        const int total = 3 * bar + 10 + textWidth;
        const int left = (width() - total) / 2;
        const int top = (this->height() - height) / 2;
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawRoundedRect(QRectF(left, top, bar, height), 1.5, 1.5);
        painter.drawRoundedRect(QRectF(left + 2 * bar, top, bar, height), 1.5, 1.5);
        painter.setPen(Qt::white);
        painter.drawText(QRect(left + 3 * bar + 10, top, textWidth + 2, height), Qt::AlignVCenter | Qt::AlignLeft,
                         text);
    }
    if (hasFocus()) {
        // In the margin around the LEDs, so no LED is hidden, and in the
        // theme's selection colour made light enough to see on the board.
        painter.setRenderHint(QPainter::Antialiasing, false);
        const QColor frame =
            ThemeColours::readableOn(palette().color(QPalette::Highlight), kBoard, ThemeColours::kFrameContrast);
        painter.setPen(QPen(frame, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
}

void SignPreview::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        togglePause();
    }
}

void SignPreview::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        togglePause();
        return;
    }
    QWidget::keyPressEvent(event);
}

void SignPreview::togglePause()
{
    if (!m_live) {
        setPaused(!paused());
    } else if (*m_live != LiveLook::Held) {
        emit livePauseRequested();
    }
}

} // namespace window
