#pragma once

#include "generation/panel_sketch_builder.h"
#include "generation/sketch_file_writer.h"
#include "platform/sketch_file_opener.h"
#include "platform/qt_clipboard.h"

#include <functional>
#include <string>

namespace window {

class Form1;

// What each button, box and option of the window does. Every handler reads
// the controls, makes one call and shows the result; every one runs under
// the same guard, which reports a failure in one message box and leaves the
// window and its texts as they were. Sketch text is the builders' business.
class WindowActions {
public:
    WindowActions(Form1& form, const std::string& toolFolder);

    void generateStandard();
    void generateLowered();
    void copyPanel();
    void writeFile();
    void setBold(bool on);
    void setItalic(bool on);
    void chooseFace(const char* face, bool selected);

private:
    void connectControls();
    // Runs one action; reports any failure and refreshes the picture box.
    void guarded(const std::function<void()>& action);

    Form1& m_form;
    generation::PanelSketchBuilder m_builder;
    platform::SketchFileOpener m_opener;
    generation::SketchFileWriter m_writer;
    platform::QtClipboard m_clipboard;
};

} // namespace window
