#pragma once

#include "board/board_outcome.h"
#include "board/sketch_compiler.h"

#include <QObject>
#include <QTimer>

namespace window {

class Session;
class SimulationView;

// Compiles the panel's sketch in the background once the panel has been
// given one (a generate, the wiring test) and has stayed still for a
// moment, so that trying it on the simulated board or sending it to the
// board finds it built: the build folder keeps the build, and their compile
// of the same text takes it from there, or joins it while it is still under
// way (SketchCompiler). The builder runs at low priority, and an edit of the
// panel, or another sketch given to it, stops it. It shows nothing: a build
// that fails here fails again, and is shown, when a click needs it. Reading
// the panel is the view's; the build's figures reach the Session from a run
// on the simulated board, as they always have.
class PanelPrebuild : public QObject {
    Q_OBJECT

public:
    enum class State {
        Idle,      // nothing to build: no sketch given yet, edited, or built
        Quiet,     // waiting for the panel to stay still, or for a stopped build to end
        Compiling, // the panel's text is being built
    };
    Q_ENUM(State)

    // How long the panel stays still after it is given a sketch before the
    // build starts: long enough for a user who edits at once, short enough
    // for one who reads the sketch and clicks.
    static constexpr int kQuietMilliseconds = 1000;

    PanelPrebuild(Session& session, const SimulationView& view, QObject* parent = nullptr);

    void setQuietTime(int milliseconds);
    State state() const { return m_state; }

signals:
    // A background build ran to its end (not stopped by an edit).
    void built(const board::BoardOutcome& outcome);

private:
    void onPanelReplaced();
    void onPanelEdited();
    void onQuiet();
    void onCompiled(const board::BoardOutcome& outcome);

    const Session& m_session;
    const SimulationView& m_view;
    QTimer m_quiet;
    board::SketchCompiler m_compiler;
    State m_state = State::Idle;
};

} // namespace window
