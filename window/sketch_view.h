#pragma once

#include "generation/panel_sketch.h"
#include "window/failure_view.h"

#include <QString>

#include <string>

namespace generation {
class ColumnSampler;
}
namespace platform {
class QtGlyphCanvas;
}

namespace window {

// What the sketch actions (WindowActions) see of the window: the texts they
// read, the canvas and sampler they draw with, and the ways they show a
// result. The window implements it; the actions never touch a widget, and
// the window never needs to know how an action does its work.
class SketchView : public FailureView {
public:
    virtual QString title() const = 0;
    virtual QString message() const = 0;
    // The panel's text with CR LF line ends, whatever the widget keeps inside.
    virtual QString panelText() const = 0;
    // Whether the generate and write buttons keep the whole message in flash.
    virtual bool wholeMessage() const = 0;
    // Frames each marquee step is shown in every sketch made now.
    virtual int stepFrames() const = 0;

    virtual platform::QtGlyphCanvas& canvas() = 0;
    virtual generation::ColumnSampler& sampler() = 0;

    // Puts a generated sketch in the panel, plays it on the preview and
    // shows how much of the board it takes.
    virtual void showSketch(generation::PanelSketch sketch) = 0;
    // Puts the wiring test for ports K and F in the panel, plays it on the
    // preview and says how to send it.
    virtual void showWiringTest(std::string text) = 0;

    // Asks where to save the panel as a sketch of its own; returns the
    // file to write, or an empty text when the user changed their mind.
    virtual QString askSketchPath() = 0;
    // A short note on the status line, such as where a sketch went.
    virtual void showNote(const QString& text) = 0;

protected:
    ~SketchView() = default;
};

} // namespace window
