#include "window/canvas_reach.h"

#include "generation/glyph_canvas.h"
#include "generation/picture_marks.h"
#include "platform/text_conversion.h"

#include <QFontMetricsF>

#include <functional>

namespace window {

namespace {

// No character is narrower than a quarter pixel, nor any picture than a
// pixel, so the canvas never holds more than this many code units;
// measuring further would only cost time.
constexpr qsizetype kMostCodeUnitsOnCanvas = 4 * generation::GlyphCanvas::kWidth;

// The longest prefix of text that fits, by halving; fits(n) says whether
// the first n code units do.
qsizetype longestFitting(qsizetype size, const std::function<bool(qsizetype)>& fits)
{
    qsizetype low = 0;
    qsizetype high = size;
    while (low < high) {
        const qsizetype middle = low + (high - low + 1) / 2;
        if (fits(middle)) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    return low;
}

} // namespace

std::size_t CanvasReach::charactersHeldWhole(const QString& message, std::span<const generation::Picture> pictures,
                                             const platform::QtGlyphCanvas& canvas,
                                             const generation::ColumnSampler& sampler)
{
    const QString considered = message.left(kMostCodeUnitsOnCanvas);
    qsizetype held = 0;
    if (pictures.empty()) {
        // The longest prefix whose drawing ends within the canvas.
        const QFontMetricsF metrics(canvas.font(), &canvas.image());
        held = longestFitting(considered.size(), [&](qsizetype n) {
            return metrics.horizontalAdvance(considered.left(n)) <= generation::GlyphCanvas::kWidth;
        });
    } else {
        // Drawn as the sampler draws it, each mark's picture in its place.
        held = longestFitting(considered.size(), [&](qsizetype n) {
            const std::u16string prefix = platform::toU16(considered.left(n));
            const auto shown = pictures.first(generation::PictureMarks::count(prefix));
            return sampler.messageWidth(prefix, shown) <= std::size_t(generation::GlyphCanvas::kWidth);
        });
    }
    if (held > 0 && considered.at(held - 1).isHighSurrogate()) {
        --held; // half a character is none
    }
    return characterCount(QStringView(considered).left(held));
}

std::size_t CanvasReach::characterCount(QStringView text)
{
    std::size_t pairs = 0;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && text.at(i + 1).isLowSurrogate()) {
            ++pairs;
            ++i;
        }
    }
    return static_cast<std::size_t>(text.size()) - pairs;
}

} // namespace window
