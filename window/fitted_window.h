#pragma once

#include <QMargins>
#include <QRect>
#include <QScrollArea>

class QScreen;

namespace window {

// The top-level window that holds the form at its designed size, which
// never changes. On a screen with room for the form it is exactly the
// form's size, and nothing about the form differs from showing it alone;
// on a smaller screen (a laptop at 150 or 200 % scaling) the whole window,
// the window manager's frame included, takes the screen's free area and
// the form scrolls inside it, and Tab scrolls to the control it reaches.
// It fits again whenever what it fitted to changes: the frame's margins,
// which a window manager makes known only after the window is shown, the
// screen it is on, or that screen's free area. Where the window system
// places windows itself (Wayland), it only sizes the window. The form
// stays its caller's: the window only borrows it, takes its title, and
// gives it back when it goes.
class FittedWindow : public QScrollArea {
    Q_OBJECT

public:
    explicit FittedWindow(QWidget& form);
    ~FittedWindow() override;

    // Sizes the window to the form, or, when the form and its frame do not
    // fit the free area of its screen, to that area less the frame, and
    // keeps the frame inside that area.
    void fitToScreen();

protected:
    bool event(QEvent* event) override;
    // Tab scrolls the control it reaches into view: all of it when the view
    // can hold it, else the part with the text cursor.
    bool focusNextPrevChild(bool next) override;

private:
    // What the window manager adds around the window; nothing until it
    // has framed the window.
    QMargins frameMargins() const;
    void followScreen(QScreen* screen);
    // Fits again when the frame or the free area differ from those the
    // window was last fitted to.
    void fitIfChanged();

    bool m_shown = false;
    QMetaObject::Connection m_screenArea;
    QMargins m_fittedFrame;
    QRect m_fittedArea;
};

} // namespace window
