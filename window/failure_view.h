#pragma once

#include <QString>

namespace window {

// What the one guard around every action needs of the window: to repaint
// the picture box after an action that may have drawn on the canvas, and
// to show a failure in a message box. The window implements it as part of
// each action's own view.
class FailureView {
public:
    // Repaints the picture box from the canvas.
    virtual void showCanvas() = 0;
    // Reports a failure in a message box.
    virtual void showError(const QString& text) = 0;

protected:
    ~FailureView() = default;
};

} // namespace window
