#pragma once

#include "window/failure_view.h"
#include "window/text_pictures.h"

#include <QString>

#include <cstddef>
#include <optional>

namespace window {

// What the sketch actions (WindowActions) see of the window: the texts they
// read and the ways they show a result. The window implements it; the
// actions never touch a widget, and the window never needs to know how an
// action does its work. What a sketch is made of is the Session's.
class SketchView : public FailureView {
public:
    virtual QString title() const = 0;
    virtual QString message() const = 0;
    // The panel's text with CR LF line ends, whatever the widget keeps inside.
    virtual QString panelText() const = 0;

    // Asks where to save the panel as a sketch of its own; returns the
    // file to write, or an empty text when the user changed their mind.
    virtual QString askSketchPath() = 0;
    // A short note on the status line, such as where a sketch went.
    virtual void showNote(const QString& text) = 0;

    // Asks for a picture file; returns its path, or an empty text when the
    // user changed their mind.
    virtual QString askPicturePath() = 0;
    // A picture mark put at the cursor of the text box that last had the
    // focus: which box, and which of its marks it is, from 0; none when the
    // box is full.
    struct PlacedMark {
        TextPictures::Box box = TextPictures::Box::Title;
        std::optional<std::size_t> mark;
    };
    virtual PlacedMark placePictureMark() = 0;

protected:
    ~SketchView() = default;
};

} // namespace window
