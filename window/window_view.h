#pragma once

#include "generation/panel_sketch.h"

#include <QString>

namespace generation {
class ColumnSampler;
}
namespace platform {
class QtGlyphCanvas;
}

namespace window {

// What the window's actions may see of the window: the texts they read, the
// canvas and sampler they draw with, and the ways they show a result. The
// window implements it; the actions never touch a widget, and the window
// never needs to know how an action does its work.
class WindowView {
public:
    virtual QString title() const = 0;
    virtual QString message() const = 0;
    // The panel's text with CR LF line ends, whatever the widget keeps inside.
    virtual QString panelText() const = 0;

    virtual platform::QtGlyphCanvas& canvas() = 0;
    virtual generation::ColumnSampler& sampler() = 0;

    // Puts a generated sketch in the panel, plays it on the preview and
    // shows how much of the board it takes.
    virtual void showSketch(const generation::PanelSketch& sketch) = 0;
    // Repaints the picture box from the canvas.
    virtual void showCanvas() = 0;
    // Reports a failure in a message box.
    virtual void showError(const QString& text) = 0;

protected:
    ~WindowView() = default;
};

} // namespace window
