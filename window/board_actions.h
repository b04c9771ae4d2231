#pragma once

#include "board/board_job.h"
#include "board/port_finder.h"
#include "window/action_guard.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <optional>

namespace window {

class BoardView;
class Session;

// What the board controls do: send the panel's text, or the sketch file's
// variant for boards wired to ports B and A (the wiring test's, while the
// panel holds the wiring test), to the chosen port, and report how it went
// through the window's own methods (its BoardView); when the panel is given
// another sketch, the status line says how to send that one. The sketch
// sent is the one there at the moment of the click; the work runs in the
// board layer's processes, so the window never waits. Making the B/A
// variant is the Session's and runs under the window's one ActionGuard, as
// every action that can fail does. It keeps the last port used, as board
// configuration, and follows boards being plugged in and out.
class BoardActions : public QObject {
    Q_OBJECT

public:
    BoardActions(Session& session, BoardView& form, QObject* parent = nullptr);

    void uploadPanel();
    void uploadPortsBA();
    void cancel();
    // Offers the ports there are now, keeping the user's choice.
    void refreshPorts();

    static QString lastPort();

private:
    void send(const QString& sketchText, bool fromPanel);
    void showStage(board::BoardJob::Stage stage);
    void showOutcome(const board::BoardOutcome& outcome);
    void showSendingNote();

    Session& m_session;
    BoardView& m_form;
    ActionGuard m_guard;
    board::BoardJob m_job;
    board::PortFinder m_finder;
    QString m_sentPort;
    // The panel's revision when the sketch sent was the panel's.
    std::optional<std::uint64_t> m_sentPanel;
};

} // namespace window
