#pragma once

#include "generation/column_sampler.h"
#include "generation/panel_sketch.h"
#include "platform/qt_glyph_canvas.h"

#include <QWidget>

#include <memory>
#include <string>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace window {

class CanvasView;
class MemoryLine;
class SignPreview;
class WindowActions;

// The tool's one window: the title and message boxes, the canvas in its
// picture box, the style and face choices, the output panel and the four
// buttons, each at a fixed place that never moves, and to their right a
// preview of the sign with the sketch's memory use. It owns the canvas, its
// sampler and the actions; what a button does is the actions' business.
class Form1 : public QWidget {
public:
    // toolFolder is where the sketch file's bb folder is looked for.
    explicit Form1(const std::string& toolFolder, QWidget* parent = nullptr);
    ~Form1() override;

    QString title() const;
    QString message() const;
    // The panel's text with CR LF line ends, whatever the widget keeps inside.
    QString panelText() const;
    void setPanelText(const std::string& sketch);
    // Puts a generated sketch in the panel, plays it on the preview and
    // shows how much of the board it takes.
    void showSketch(const generation::PanelSketch& sketch);
    // Repaints the picture box from the canvas.
    void showCanvas();

    platform::QtGlyphCanvas& canvas() { return m_canvas; }
    generation::ColumnSampler& sampler() { return m_sampler; }

    CanvasView* pic;
    QPushButton* Command1;
    QLineEdit* Text1;
    QLineEdit* Text2;
    QCheckBox* Check1;
    QCheckBox* Check2;
    QRadioButton* Option1;
    QRadioButton* Option2;
    QPushButton* Command5;
    QPlainTextEdit* Text3;
    QPushButton* Command2;
    QPushButton* Command3;
    SignPreview* preview;
    MemoryLine* memoryLine;
    // When ticked, the generate and write buttons keep the whole message in flash.
    QCheckBox* wholeMessage;

private:
    platform::QtGlyphCanvas m_canvas;
    generation::ColumnSampler m_sampler;
    std::unique_ptr<WindowActions> m_actions;
};

} // namespace window
