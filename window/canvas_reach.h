#pragma once

#include "generation/column_sampler.h"
#include "generation/picture.h"
#include "platform/qt_glyph_canvas.h"

#include <QString>

#include <cstddef>
#include <span>

namespace window {

// How many of a message's characters, from the first, the canvas holds
// whole at its current font: what a standard sketch's sign shows of the
// message. A picture counts as one character and is as wide as it is; the
// pictures are the message's own, one for each mark. Drawing the message is
// the sampler's, and wording the count the memory line's.
class CanvasReach {
public:
    // Characters as the sign's reader counts them: a surrogate pair is one.
    static std::size_t characterCount(QStringView text);
    static std::size_t charactersHeldWhole(const QString& message, std::span<const generation::Picture> pictures,
                                           const platform::QtGlyphCanvas& canvas,
                                           const generation::ColumnSampler& sampler);
};

} // namespace window
