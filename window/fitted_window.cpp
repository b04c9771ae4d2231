#include "window/fitted_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace window {

namespace {

// Under Wayland the compositor alone places windows: a window learns
// neither where it is nor may it move itself.
bool windowSystemPlacesWindows()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace

FittedWindow::FittedWindow(QWidget& form)
    : QScrollArea()
{
    setObjectName(QStringLiteral("fittedWindow"));
    // Without a frame of its own the window shows the form exactly as the
    // form would show itself.
    setFrameShape(QFrame::NoFrame);
    // Tab walks the form's controls only; the scroll bars follow it.
    setFocusPolicy(Qt::NoFocus);
    setWidgetResizable(false);
    setWidget(&form);
    setWindowTitle(form.windowTitle());
    connect(&form, &QWidget::windowTitleChanged, this, &QWidget::setWindowTitle);
}

FittedWindow::~FittedWindow()
{
    // The form belongs to whoever made it.
    takeWidget();
}

QMargins FittedWindow::frameMargins() const
{
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                    outer.bottom() - inner.bottom());
}

void FittedWindow::fitToScreen()
{
    const QRect free = screen()->availableGeometry();
    const QMargins frame = frameMargins();
    m_fittedFrame = frame;
    m_fittedArea = free;
    const QSize room = free.size().shrunkBy(frame);
    const QSize form = widget()->size();

    // A scroll bar along one edge takes room from the other direction.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    bool wide = form.width() > room.width();
    bool tall = form.height() > room.height();
    tall = tall || (wide && form.height() + bar > room.height());
    wide = wide || (tall && form.width() + bar > room.width());
    QSize wanted(form.width() + (tall ? bar : 0), form.height() + (wide ? bar : 0));
    // At a fractional scale the window system may round the window a pixel
    // smaller than asked, which would show a scroll bar for that pixel.
    if (devicePixelRatioF() != std::floor(devicePixelRatioF())) {
        wanted += QSize(1, 1);
    }
    const QSize size = wanted.boundedTo(room);
    if (size != this->size()) {
        resize(size);
    }
    if (windowSystemPlacesWindows()) {
        // The free area a Wayland window is told of is the whole screen,
        // the desktop's panels included; only the compositor knows the
        // room between them, and a maximised window gets exactly that.
        if (size != wanted) {
            setWindowState(windowState() | Qt::WindowMaximized);
        }
        return;
    }
    // A window whose frame lies in the free area is left where the window
    // system or the user put it; pos() is the frame's corner.
    const QRect framed(pos(), size.grownBy(frame));
    if (!free.contains(framed)) {
        move(std::clamp(framed.left(), free.left(), std::max(free.left(), free.right() + 1 - framed.width())),
             std::clamp(framed.top(), free.top(), std::max(free.top(), free.bottom() + 1 - framed.height())));
    }
}

void FittedWindow::fitIfChanged()
{
    // A window the user maximised or made full screen is the window
    // system's to size.
    if (!m_shown || (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized))) {
        return;
    }
    if (frameMargins() != m_fittedFrame || screen()->availableGeometry() != m_fittedArea) {
        fitToScreen();
    }
}

void FittedWindow::followScreen(QScreen* screen)
{
    disconnect(m_screenArea);
    if (screen) {
        m_screenArea = connect(screen, &QScreen::availableGeometryChanged, this, &FittedWindow::fitIfChanged);
    }
    fitIfChanged();
}

bool FittedWindow::event(QEvent* event)
{
    const bool handled = QScrollArea::event(event);
    switch (event->type()) {
    case QEvent::Show:
        if (!m_shown) {
            m_shown = true;
            connect(windowHandle(), &QWindow::screenChanged, this, &FittedWindow::followScreen);
            followScreen(screen());
        }
        break;
    // A window manager that frames the window moves it into its frame,
    // and says so with the frame's size known.
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowStateChange:
        fitIfChanged();
        break;
    default:
        break;
    }
    return handled;
}

bool FittedWindow::focusNextPrevChild(bool next)
{
    if (!QWidget::focusNextPrevChild(next)) {
        return false;
    }
    QWidget* focused = focusWidget();
    if (!focused || !widget()->isAncestorOf(focused)) {
        return true;
    }
    // An editable chooser's text box stands for the chooser.
    QWidget* control = focused->parentWidget() && focused->parentWidget()->focusProxy() == focused
        ? focused->parentWidget()
        : focused;
    constexpr int kMargin = 4;
    const QRect area(control->mapTo(widget(), QPoint(0, 0)), control->size());
    const QSize view = viewport()->size();
    if (area.width() + 2 * kMargin <= view.width() && area.height() + 2 * kMargin <= view.height()) {
        const QPoint centre = area.center();
        ensureVisible(centre.x(), centre.y(), area.width() / 2 + kMargin, area.height() / 2 + kMargin);
    } else {
        ensureWidgetVisible(focused);
    }
    return true;
}

} // namespace window
