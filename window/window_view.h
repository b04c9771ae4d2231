#pragma once

#include "board/port_finder.h"
#include "generation/panel_sketch.h"

#include <QList>
#include <QString>

#include <string>

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
    // Whether the generate and write buttons keep the whole message in flash.
    virtual bool wholeMessage() const = 0;
    // Frames each marquee step is shown in every sketch made now.
    virtual int stepFrames() const = 0;
    // Whether the panel holds the wiring test (put there by showWiringTest
    // and not yet replaced by a generated sketch).
    virtual bool showsWiringTest() const = 0;

    virtual platform::QtGlyphCanvas& canvas() = 0;
    virtual generation::ColumnSampler& sampler() = 0;

    // Puts a generated sketch in the panel, plays it on the preview and
    // shows how much of the board it takes.
    virtual void showSketch(generation::PanelSketch sketch) = 0;
    // Puts the wiring test for ports K and F in the panel, plays it on the
    // preview and says how to send it.
    virtual void showWiringTest(std::string text) = 0;
    // Repaints the picture box from the canvas.
    virtual void showCanvas() = 0;
    // Reports a failure in a message box.
    virtual void showError(const QString& text) = 0;

    // Asks where to save the panel as a sketch of its own; returns the
    // file to write, or an empty text when the user changed their mind.
    virtual QString askSketchPath() = 0;
    // A short note on the status line, such as where a sketch went.
    virtual void showNote(const QString& text) = 0;

    // The port chosen or typed for the board; empty when none.
    virtual QString port() const = 0;
    // Offers these ports; preferred is the one to select, or -1 to keep
    // what the user typed.
    virtual void showPorts(const QList<board::PortFinder::Port>& ports, int preferred) = 0;
    virtual void showUploadWorking(const QString& status, bool determinate) = 0;
    virtual void showUploadProgress(int percent) = 0;
    virtual void showUploadResult(const QString& text, bool succeeded, const QString& log) = 0;
    // Puts the panel's cursor on a line (1-based), where a compiler error is.
    virtual void showPanelLine(int line) = 0;

protected:
    ~WindowView() = default;
};

} // namespace window
