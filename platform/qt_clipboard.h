#pragma once

#include <QString>

namespace platform {

// The system clipboard for plain text. Text goes on with CR LF line ends
// whatever line ends it arrives with, because Qt's text widgets keep LF
// only and the sketches are meant to be pasted with CR LF.
class QtClipboard {
public:
    // Clears the clipboard, then puts the text on it; throws SketchError
    // when there is no clipboard to put it on.
    void putText(const QString& text);
};

} // namespace platform
