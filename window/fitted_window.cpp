#include "window/fitted_window.h"

#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

#include <algorithm>

namespace window {

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

void FittedWindow::fitToScreen()
{
    const QRect free = screen()->availableGeometry();
    // What the window manager adds around the window; nothing until it has
    // framed the window.
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    const QSize room = free.size().shrunkBy(frame);
    const QSize form = widget()->size();

    // A scroll bar along one edge takes room from the other direction.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    bool wide = form.width() > room.width();
    bool tall = form.height() > room.height();
    tall = tall || (wide && form.height() + bar > room.height());
    wide = wide || (tall && form.width() + bar > room.width());
    const QSize size = QSize(form.width() + (tall ? bar : 0), form.height() + (wide ? bar : 0)).boundedTo(room);
    resize(size);

    // A window that fits is left where the window system puts it.
    const QRect framed(pos(), size.grownBy(frame));
    if (!free.contains(framed)) {
        move(std::clamp(framed.left(), free.left(), std::max(free.left(), free.right() + 1 - framed.width())),
             std::clamp(framed.top(), free.top(), std::max(free.top(), free.bottom() + 1 - framed.height())));
    }
}

void FittedWindow::showEvent(QShowEvent* event)
{
    QScrollArea::showEvent(event);
    if (!m_fitted) {
        m_fitted = true;
        fitToScreen();
        // Once shown, the window manager's frame is known: fit again with it.
        QTimer::singleShot(0, this, &FittedWindow::fitToScreen);
    }
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
