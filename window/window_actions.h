#pragma once

#include "generation/sketch_file_writer.h"
#include "platform/sketch_file_opener.h"
#include "platform/qt_clipboard.h"
#include "window/action_guard.h"

#include <QCoreApplication>

#include <string>
#include <string_view>

namespace window {

class Session;
class SketchView;

// What each button, box and option of the window does. Every action reads
// the window's texts, makes one call on the window's Session (or writes,
// copies or saves) and shows the rest through the window's own methods (its
// SketchView); every one runs under the window's one ActionGuard, which
// reports a failure in one message box and leaves the window and its texts
// as they were. Sketch text is the builders' business, what the panel and
// the sign show the Session's, and which widget was pressed the window's.
class WindowActions {
    Q_DECLARE_TR_FUNCTIONS(window::WindowActions)

public:
    WindowActions(Session& session, SketchView& form, const std::string& toolFolder);

    void generateStandard();
    void generateLowered();
    void copyPanel();
    void writeFile();
    // Puts the wiring test in the panel, for a freshly soldered sign.
    void showWiringTest();
    void setBold(bool on);
    void setItalic(bool on);
    void chooseFace(std::string_view face, bool selected);
    void setWholeMessage(bool on);
    void setStepFrames(int stepFrames);
    // Saves the panel's text as a sketch the Arduino IDE opens.
    void saveSketchAs();
    // Reads a picture file the user picks and puts its mark in the text box
    // that last had the focus.
    void insertPicture();

private:
    Session& m_session;
    SketchView& m_form;
    ActionGuard m_guard;
    platform::SketchFileOpener m_opener;
    generation::SketchFileWriter m_writer;
    platform::QtClipboard m_clipboard;
};

} // namespace window
