#pragma once

namespace platform {

// Pins the font rendering choices that Qt makes once for the whole process
// and that no property of the canvas's QFont can override, to what Debian's
// defaults give, so that the canvas draws the same pixels on every desktop:
// the user's fontconfig autohint switch at the canvas's text size, and the
// environment variables that change how FreeType and Qt draw every glyph.
// The window's own text keeps the user's fontconfig choices at its other
// sizes; it loses only FreeType tuning set through the environment. Call
// once, before the application object exists.
void pinCanvasRendering();

} // namespace platform
