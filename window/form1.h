#pragma once

#include "window/board_view.h"
#include "window/session.h"
#include "window/simulation_view.h"
#include "window/sketch_view.h"

#include <QWidget>

#include <memory>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace window {

class BoardActions;
class BoardControls;
class CanvasView;
class LongSketchView;
class MemoryLine;
class PanelPrebuild;
class PictureMarkBox;
class ScrollSpeedBox;
class SignPreview;
class SimulationActions;
class SketchPanel;
class WindowActions;

// The tool's one window: the title and message boxes, the canvas in its
// picture box, the style and face choices, the output panel (where a view
// stands in for a sketch too long to edit) and the four buttons, each at a
// fixed place that never moves, and to their right a
// preview of the sign with a note under it and the sketch's memory use, a
// button that puts a picture in the title or the message, the scroll
// speed, the wiring test's button and a button that tries the panel's
// sketch on the simulated board, the controls that send the sketch to the
// board, and a button that saves it for the Arduino IDE.
// It owns the document (a Session: the canvas, its sampler, the choices,
// the sketch on show and the simulated board's state), the actions and
// the background build of the panel's sketch, tells the actions when a control is used, and draws what the Session
// announces; what a button does is the actions' business, and each kind
// sees the window only through its own view: the sketch actions through
// SketchView, the board actions through BoardView, the simulation through
// SimulationView.
class Form1 : public QWidget, public SketchView, public BoardView, public SimulationView {
    Q_OBJECT

public:
    // toolFolder is where the sketch file's bb folder is looked for.
    explicit Form1(const std::string& toolFolder, QWidget* parent = nullptr);
    ~Form1() override;

    QString title() const override;
    QString message() const override;
    QString panelText() const override;
    void showCanvas() override;
    void showError(const QString& text) override;
    QString askSketchPath() override;
    void showNote(const QString& text) override;
    QString askPicturePath() override;
    PlacedMark placePictureMark() override;

    QString port() const override;
    void showPorts(const QList<PortChoice>& ports, int preferred) override;
    void showUploadWorking(const QString& status, bool determinate) override;
    void showUploadProgress(int percent) override;
    void showUploadResult(const QString& text, bool succeeded, const QString& log) override;
    void showPanelLine(int line) override;
    void showRunLog(const QString& log) override;

    // The window's document, for whoever drives the window from outside
    // its controls (the tests).
    Session& session() { return m_session; }
    // What compiles the panel's sketch in the background, for the same.
    PanelPrebuild& prebuild() { return *m_prebuild; }

private:
    void placeAddedControls();
    void nameForAssistiveTools();
    void orderTabStops();
    void connectControls();
    // Draw what the Session announces.
    void drawPanel();
    void drawSign();
    void drawSignNote();
    void drawMemory();
    void drawMarks(TextPictures::Box box);
    // The lines under the preview, for what it shows; a problem in red.
    void showSignNote(const QString& text, bool problem);

    CanvasView* pic;
    QPushButton* Command1;
    PictureMarkBox* Text1;
    PictureMarkBox* Text2;
    QCheckBox* Check1;
    QCheckBox* Check2;
    QRadioButton* Option1;
    QRadioButton* Option2;
    QPushButton* Command5;
    QPlainTextEdit* Text3;
    // Takes Text3's place when a sketch is too long to edit.
    LongSketchView* longSketch;
    QPushButton* Command2;
    QPushButton* Command3;
    SignPreview* preview;
    // Under the sign: what the preview shows, when there is something to say.
    QLabel* signNote;
    MemoryLine* memoryLine;
    QPushButton* simulate;
    BoardControls* boardControls;
    QPushButton* saveAs;
    // When ticked, the generate and write buttons keep the whole message in flash.
    QCheckBox* wholeMessageBox;
    ScrollSpeedBox* scrollSpeed;
    QPushButton* wiringTest;
    QPushButton* insertPicture;
    // The text box a picture goes into: the one that last had the focus.
    TextPictures::Box m_markBox = TextPictures::Box::Title;
    // Where the last picture was picked, while the window is open.
    QString m_pictureFolder;

    Session m_session;
    std::unique_ptr<SketchPanel> m_panel;
    std::unique_ptr<WindowActions> m_actions;
    std::unique_ptr<BoardActions> m_boardActions;
    std::unique_ptr<SimulationActions> m_simulation;
    std::unique_ptr<PanelPrebuild> m_prebuild;
};

} // namespace window
