#include "window/theme_colours.h"

#include <QEvent>
#include <QPalette>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace window {

namespace {

// The colours the window was designed with, on a light grey window.
QColor designed(ThemeColours::Tone tone)
{
    switch (tone) {
    case ThemeColours::Tone::Problem:
        return QColor(0xc0, 0x00, 0x00);
    case ThemeColours::Tone::Warning:
        return QColor(0xa0, 0x50, 0x00);
    case ThemeColours::Tone::Success:
        return QColor(0x00, 0x60, 0x00);
    case ThemeColours::Tone::Plain:
        break;
    }
    return QColor();
}

double relativeLuminance(const QColor& colour)
{
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

} // namespace

ThemeColours::ThemeColours(QWidget& widget)
    : QObject(&widget)
    , m_widget(widget)
{
    m_widget.installEventFilter(this);
}

void ThemeColours::setTone(QWidget& widget, Tone tone)
{
    auto* keeper = widget.findChild<ThemeColours*>(QString(), Qt::FindDirectChildrenOnly);
    if (!keeper) {
        if (tone == Tone::Plain) {
            return;
        }
        keeper = new ThemeColours(widget);
    }
    keeper->m_tone = tone;
    keeper->apply();
}

void ThemeColours::apply()
{
    m_applying = true;
    if (m_tone == Tone::Plain) {
        // No colour of its own: the widget follows its parent's palette.
        m_widget.setPalette(QPalette());
    } else {
        QPalette own;
        own.setColor(QPalette::WindowText, toneOn(m_tone, m_widget.palette().color(m_widget.backgroundRole())));
        m_widget.setPalette(own);
    }
    m_applying = false;
}

bool ThemeColours::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_widget && event->type() == QEvent::PaletteChange && !m_applying) {
        apply();
    }
    return QObject::eventFilter(watched, event);
}

QColor ThemeColours::toneOn(Tone tone, const QColor& background)
{
    return readableOn(designed(tone), background, kTextContrast);
}

QColor ThemeColours::readableOn(const QColor& wanted, const QColor& background, double ratio)
{
    if (contrast(wanted, background) >= ratio) {
        return wanted;
    }
    // Towards whichever end is further from the background: white on a
    // dark theme, black on a light one. The hue fades only as far as it
    // must.
    const QColor from = wanted.toRgb();
    const QColor end = contrast(Qt::white, background) >= contrast(Qt::black, background) ? QColor(Qt::white)
                                                                                            : QColor(Qt::black);
    constexpr int kSteps = 32;
    for (int step = 1; step < kSteps; ++step) {
        const auto mix = [&](int start, int stop) { return start + (stop - start) * step / kSteps; };
        const QColor mixed(mix(from.red(), end.red()), mix(from.green(), end.green()), mix(from.blue(), end.blue()));
        if (contrast(mixed, background) >= ratio) {
            return mixed;
        }
    }
    return end;
}

double ThemeColours::contrast(const QColor& a, const QColor& b)
{
    const double first = relativeLuminance(a);
    const double second = relativeLuminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

} // namespace window
