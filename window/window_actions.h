#pragma once

#include "generation/panel_sketch_builder.h"
#include "generation/sketch_file_writer.h"
#include "platform/sketch_file_opener.h"
#include "platform/qt_clipboard.h"

#include <QCoreApplication>

#include <functional>
#include <string>

namespace window {

class WindowView;

// What each button, box and option of the window does. Every action reads
// the window's texts, makes one call and shows the result through the
// window's own methods; every one runs under the same guard, which reports a
// failure in one message box and leaves the window and its texts as they
// were. Sketch text is the builders' business; which widget was pressed is
// the window's.
class WindowActions {
    Q_DECLARE_TR_FUNCTIONS(window::WindowActions)

public:
    WindowActions(WindowView& form, const std::string& toolFolder);

    void generateStandard();
    void generateLowered();
    void copyPanel();
    void writeFile();
    // Puts the wiring test in the panel, for a freshly soldered sign.
    void showWiringTest();
    void setBold(bool on);
    void setItalic(bool on);
    void chooseFace(const char* face, bool selected);
    // Saves the panel's text as a sketch the Arduino IDE opens.
    void saveSketchAs();

private:
    // Runs one action; reports any failure and refreshes the picture box.
    void guarded(const std::function<void()>& action);

    WindowView& m_form;
    generation::PanelSketchBuilder m_builder;
    platform::SketchFileOpener m_opener;
    generation::SketchFileWriter m_writer;
    platform::QtClipboard m_clipboard;
};

} // namespace window
