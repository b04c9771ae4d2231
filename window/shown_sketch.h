#pragma once

#include "generation/sign_animation.h"
#include "generation/sketch_layout.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

namespace window {

// The sketch the output panel was last given, as it was made: the text, the
// layout it was written for (its wiring, where its message lives, its scroll
// speed), the animation the preview plays of it, the figures of its
// message that the memory line words, and whether the
// panel still holds it as it was given. It is a value the window's Session
// keeps; making it is the generation layer's, and showing it the window's.
struct ShownSketch {
    enum class Kind {
        Placeholder, // what the panel holds before anything was generated
        Marquee,     // a title and a message
        WiringTest,  // the wiring test for a freshly soldered sign
    };

    Kind kind = Kind::Placeholder;
    // UTF-8 with CR LF line ends, shared with the panel's view of a sketch
    // too long to edit, so that it is held once; empty for the placeholder.
    std::shared_ptr<const std::string> text;
    generation::SketchLayout layout = generation::SketchLayout::panel();
    // What the preview plays; none for the placeholder.
    std::optional<generation::SignAnimation> animation;
    // The marquee's message: its length in UTF-16 code units, its characters
    // (a picture counts as one), how many of those, from the first, the
    // canvas held whole, and how many pictures it holds.
    std::size_t messageLength = 0;
    std::size_t messageCharacters = 0;
    std::size_t charactersOnSign = 0;
    std::size_t messagePictures = 0;
    // The message's columns as the marquee carries them, and how far its
    // drawing reaches.
    std::size_t messageColumns = 0;
    std::size_t drawnWidth = 0;
    // The user has changed the panel since it was given this sketch.
    bool edited = false;
};

} // namespace window
