#pragma once

#include "board/board_outcome.h"
#include "generation/column_sampler.h"
#include "generation/marquee_shape.h"
#include "generation/row_window.h"
#include "platform/qt_glyph_canvas.h"
#include "simulator/simulator_output.h"
#include "window/shown_sketch.h"
#include "window/text_pictures.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace window {

// The window's one document: the canvas and sampler that draw the texts,
// the pictures of the texts' picture marks, the choices every sketch is made
// with (face, bold, italic, scroll speed, whole message), the sketch the output panel was given and whether the user
// has changed it since, and the simulated board's state with what its run
// lit and measured. From these it says what the sign shows and what the note
// under it says, and it announces each change for the window to draw. The
// actions change it. It touches no widget and runs no process: running the
// simulated board is the simulation actions', and wording the memory line
// the memory line's.
class Session : public QObject {
    Q_OBJECT

public:
    // The simulated board as the sign shows it.
    enum class Board {
        Idle,      // no run: the sign plays the preview of the panel's sketch
        Compiling, // the panel's text is being built; the sign is dark
        Running,   // the simulated board drives the sign live
        Paused,    // ... and is held where it was, using no processor time
        Stopped,   // the run ended; the sign keeps its last picture, dimmed
        Faulted,   // the sketch faulted; the sign keeps its last picture, dimmed
    };
    // The choices the canvas does not hold itself (face and style are the
    // canvas's).
    struct Choices {
        int stepFrames = generation::MarqueeShape::kMarqueeFrames;
        bool wholeMessage = false;
    };
    // The toolchain's own figures for a build of the panel's text.
    struct Measured {
        int flashBytes = 0;
        int sramBytes = 0;
        bool operator==(const Measured&) const = default;
    };
    // The line under the sign; a problem is shown as one.
    struct Note {
        QString text;
        bool problem = false;
        bool operator==(const Note&) const = default;
    };

    // The canvas starts in this face.
    explicit Session(std::string_view face);

    const platform::QtGlyphCanvas& canvas() const { return m_canvas; }
    generation::ColumnSampler& sampler() { return m_sampler; }

    // The pictures of the title's and the message's marks, kept while the
    // window is open; every sketch made of the texts takes them.
    TextPictures& pictures() { return m_pictures; }

    const Choices& choices() const { return m_choices; }
    void setFace(std::string_view face);
    void setBold(bool on);
    void setItalic(bool on);
    void setStepFrames(int stepFrames);
    void setWholeMessage(bool on);

    // Makes the marquee of a title and a message, with their marks'
    // pictures and the choices made, and gives it to the panel; a run on the simulated board is let go. Throws
    // SketchError as the builder does, and then nothing has changed.
    void generate(const QString& title, const QString& message, generation::RowWindow titleWindow);
    // Gives the panel the wiring test for the panel's wiring, as generate does.
    void showWiringTest();
    // The sketch for a board wired to ports B and A that goes with the panel:
    // the wiring test's own while the panel was given the wiring test, else
    // the one the write button puts in bb.ino, drawn with the choices made
    // and the marks' pictures.
    std::string sketchForPortsBA(const QString& title, const QString& message);
    // The user changed the panel's text; edited says whether it now differs
    // from the sketch the panel was given (an undo can bring that back).
    void panelChanged(bool edited);

    const ShownSketch& sketch() const { return m_sketch; }
    // Counts every change of the panel's text, so that whoever sent it
    // somewhere can tell whether the panel still holds what was sent.
    std::uint64_t panelRevision() const { return m_panelRevision; }
    // The toolchain's figures for the panel's text, while they describe the
    // panel as it is.
    std::optional<Measured> measured() const;
    // What the panel holds before it is given a sketch.
    static QString placeholder();
    // Whether the panel holds no sketch to compile: the placeholder the
    // window starts with, as it was, or nothing but blanks. Whoever would
    // compile it asks for a generate first (generateFirst()) and starts
    // nothing.
    bool panelAwaitsGenerate(const QString& panelText) const;
    static QString generateFirst();

    // What the simulated board does with the panel's text, as the
    // simulation actions hear it; a run let go for another sketch is no
    // longer heard.
    void simulationStarted();
    // The button was pressed on a panel that awaits a generate: the note
    // asks for one, and nothing runs.
    void simulationRefused();
    void simulationCompiled(const board::BoardOutcome& outcome);
    void simulationWiring(const simulator::SimulatorOutput::Wiring& wiring);
    void simulationStillDark(std::uint64_t microseconds);
    void simulationLight(const simulator::SimulatorOutput::Levels& levels);
    void simulationPaused();
    void simulationResumed();
    void simulationFaulted(const simulator::SimulatorOutput::Fault& fault);
    void simulationFinished(const board::BoardOutcome& outcome);

    Board board() const { return m_board; }
    // A run is under way: compiling, or the board driving the sign.
    bool runGoesOn() const;
    // Whether the panel holds what the last run was started with.
    bool runIsThePanels() const { return m_runRevision == m_panelRevision; }
    // The LEDs the simulated board lit last, each at its brightness.
    const simulator::SimulatorOutput::Levels& levels() const { return m_levels; }

    // What the preview says of the frame it plays (the wiring test's rows
    // and columns); shown under the sign while there is no run to speak of.
    void setPreviewNote(const QString& note);
    Note signNote() const;

signals:
    // The panel is to show sketch() afresh.
    void panelReplaced();
    // The panel's text changed from the sketch given or back to it (see
    // sketch().edited); the panel taking a new sketch may pass through an
    // edit undone at once.
    void panelEdited();
    // The sign shows something else (see board()): the preview of sketch(),
    // the live board, or its last picture held.
    void signChanged();
    // The live board lit its LEDs anew: levels().
    void levelsChanged();
    void signNoteChanged();
    // What the memory line describes changed: sketch() or measured().
    void memoryChanged();

private:
    // What the memory line was last told it describes.
    struct MemoryState {
        std::uint64_t sketchNumber = 0;
        bool edited = false;
        std::optional<Measured> measured;
        bool operator==(const MemoryState&) const = default;
    };

    void replace(ShownSketch sketch);
    void setBoard(Board board);
    // The board drives the sign, live or held.
    bool boardLive() const;
    // The sign can play the preview again: the panel holds its sketch as given.
    bool canPlay() const;
    // Announces the note and the memory line where they changed.
    void announce();
    // The run ended with the panel holding a text of the user's.
    static QString stoppedNote();

    platform::QtGlyphCanvas m_canvas;
    generation::ColumnSampler m_sampler;
    TextPictures m_pictures;
    Choices m_choices;

    ShownSketch m_sketch;
    std::uint64_t m_sketchNumber = 0;
    std::uint64_t m_panelRevision = 0;
    std::optional<Measured> m_measured;
    std::uint64_t m_measuredRevision = 0;

    Board m_board = Board::Idle;
    std::uint64_t m_runRevision = 0;
    simulator::SimulatorOutput::Levels m_levels{};
    // What the last run said of itself, worded for the note.
    Note m_runNote;
    QString m_previewNote;

    // So that each change is announced once.
    Note m_announcedNote;
    MemoryState m_announcedMemory;
};

} // namespace window
