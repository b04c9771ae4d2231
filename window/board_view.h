#pragma once

#include "window/failure_view.h"
#include "window/port_choice.h"

#include <QList>
#include <QString>

namespace window {

// What the board actions (BoardActions) see of the window: the texts a
// sketch to send is made from, the port, and the ways they show how the
// work goes. The window implements it; the board actions never touch a
// widget.
class BoardView : public FailureView {
public:
    // The panel's text with CR LF line ends, sent as it stands.
    virtual QString panelText() const = 0;
    // The title and the message, from which the B/A variant is made.
    virtual QString title() const = 0;
    virtual QString message() const = 0;

    // The port chosen or typed for the board; empty when none.
    virtual QString port() const = 0;
    // Offers these ports; preferred is the one to select, or -1 to keep
    // what the user typed.
    virtual void showPorts(const QList<PortChoice>& ports, int preferred) = 0;
    virtual void showUploadWorking(const QString& status, bool determinate) = 0;
    virtual void showUploadProgress(int percent) = 0;
    virtual void showUploadResult(const QString& text, bool succeeded, const QString& log) = 0;
    // A plain note on the status line, such as how to send the panel's sketch.
    virtual void showNote(const QString& text) = 0;
    // Puts the panel's cursor on a line (1-based), where a compiler error is.
    virtual void showPanelLine(int line) = 0;

protected:
    ~BoardView() = default;
};

} // namespace window
