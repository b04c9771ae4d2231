#pragma once

#include "window/failure_view.h"
#include "window/port_choice.h"

#include <QList>
#include <QString>

namespace generation {
class ColumnSampler;
}

namespace window {

// What the board actions (BoardActions) see of the window: the texts a
// sketch to send is made from, the port, and the ways they show how the
// work goes. The window implements it; the board actions never touch a
// widget.
class BoardView : public FailureView {
public:
    // The panel's text with CR LF line ends, sent as it stands.
    virtual QString panelText() const = 0;
    // The title, the message, the whole-message choice and the scroll speed,
    // from which the B/A variant is made, with the window's sampler.
    virtual QString title() const = 0;
    virtual QString message() const = 0;
    virtual bool wholeMessage() const = 0;
    virtual int stepFrames() const = 0;
    // Whether the panel holds the wiring test (put there by the wiring-test
    // button and not yet replaced by a generated sketch): the B/A upload
    // then sends the test's own B/A variant.
    virtual bool showsWiringTest() const = 0;
    virtual generation::ColumnSampler& sampler() = 0;

    // The port chosen or typed for the board; empty when none.
    virtual QString port() const = 0;
    // Offers these ports; preferred is the one to select, or -1 to keep
    // what the user typed.
    virtual void showPorts(const QList<PortChoice>& ports, int preferred) = 0;
    virtual void showUploadWorking(const QString& status, bool determinate) = 0;
    virtual void showUploadProgress(int percent) = 0;
    virtual void showUploadResult(const QString& text, bool succeeded, const QString& log) = 0;
    // Puts the panel's cursor on a line (1-based), where a compiler error is.
    virtual void showPanelLine(int line) = 0;

protected:
    ~BoardView() = default;
};

} // namespace window
