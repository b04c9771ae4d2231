#pragma once

#include <QScrollArea>

namespace window {

// The top-level window that holds the form at its designed size, which
// never changes. On a screen with room for the form it is exactly the
// form's size, and nothing about the form differs from showing it alone;
// on a smaller screen (a laptop at 150 or 200 % scaling) it takes the
// screen's free area and the form scrolls inside it, and Tab scrolls to
// the control it reaches. The form stays its caller's: the window only
// borrows it, takes its title, and gives it back when it goes.
class FittedWindow : public QScrollArea {
    Q_OBJECT

public:
    explicit FittedWindow(QWidget& form);
    ~FittedWindow() override;

    // Sizes the window to the form, or to the free area of its screen when
    // that is smaller, and keeps its frame inside that area.
    void fitToScreen();

protected:
    void showEvent(QShowEvent* event) override;
    // Tab scrolls the control it reaches into view: all of it when the view
    // can hold it, else the part with the text cursor.
    bool focusNextPrevChild(bool next) override;

private:
    bool m_fitted = false;
};

} // namespace window
