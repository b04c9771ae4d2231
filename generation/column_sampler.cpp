#include "generation/column_sampler.h"

#include "generation/picture_marks.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace generation {

namespace {

// A glyph's ink may start this far left of its pen position (italic
// overhangs, negative bearings are a few pixels at 16 px); a piece of text
// that starts further right of a column cannot touch it.
constexpr std::int64_t kLeftOverhang = 64;

} // namespace

ColumnSampler::ColumnSampler(GlyphCanvas& canvas)
    : m_canvas(canvas)
{
}

std::vector<ColumnSampler::Piece> ColumnSampler::layOut(const std::u16string& text,
                                                        std::span<const Picture> pictures,
                                                        std::optional<std::int64_t> drawnBelow) const
{
    const std::size_t marks = PictureMarks::count(text);
    PictureMarks::requireOnePerMark(marks, pictures.size());
    std::vector<Piece> pieces;
    if (marks == 0) {
        return pieces;
    }
    // Each piece starts where the pen stopped after the one before: a
    // text's advance, a picture's width. Counted in 64 bits: many wide
    // pictures in a long message add up past what an int holds. Measuring
    // a long text costs time, so only what is needed is measured.
    std::int64_t pen = 0;
    std::size_t start = 0;
    const auto addText = [&](std::u16string run, bool last) {
        const std::int64_t left = pen;
        const std::int64_t reach = drawnBelow ? INT64_MAX : left + m_canvas.textWidth(run);
        if (!last) {
            pen += m_canvas.textAdvance(run);
        }
        pieces.push_back({std::move(run), nullptr, left, reach});
    };
    const auto beyond = [&] { return drawnBelow && pen - kLeftOverhang >= *drawnBelow; };
    for (const Picture& picture : pictures) {
        if (beyond()) {
            return pieces;
        }
        const std::size_t mark = text.find(PictureMarks::kMark, start);
        if (mark > start) {
            addText(text.substr(start, mark - start), false);
        }
        const auto width = static_cast<std::int64_t>(picture.width());
        pieces.push_back({{}, &picture, pen, pen + width});
        pen += width;
        start = mark + 1;
    }
    if (start < text.size() && !beyond()) {
        addText(text.substr(start), true);
    }
    return pieces;
}

void ColumnSampler::drawPieces(const std::vector<Piece>& pieces, std::int64_t from, std::int64_t to)
{
    for (const Piece& piece : pieces) {
        const std::int64_t overhang = piece.picture != nullptr ? 0 : kLeftOverhang;
        if (piece.reach <= from || piece.left - overhang >= to) {
            continue;
        }
        // Only pieces near the canvas come here, so the pen fits an int.
        m_canvas.setPenPosition(static_cast<int>(piece.left - from), 0);
        if (piece.picture != nullptr) {
            m_canvas.drawPicture(*piece.picture);
        } else {
            m_canvas.drawText(piece.text);
        }
    }
}

void ColumnSampler::drawTitle(const std::u16string& title, std::span<const Picture> pictures)
{
    m_canvas.setFontSize(kTextPoints);
    m_canvas.setPenPosition(0, 0);
    m_canvas.clear();
    if (const auto pieces = layOut(title, pictures, GlyphCanvas::kWidth); !pieces.empty()) {
        drawPieces(pieces, 0, GlyphCanvas::kWidth);
        return;
    }
    m_canvas.drawText(title);
}

void ColumnSampler::clear()
{
    m_canvas.clear();
}

void ColumnSampler::drawMessage(const std::u16string& message, std::span<const Picture> pictures)
{
    if (const auto pieces = layOut(message, pictures, GlyphCanvas::kWidth); !pieces.empty()) {
        drawPieces(pieces, 0, GlyphCanvas::kWidth);
        return;
    }
    m_canvas.setPenPosition(0, 0);
    m_canvas.drawText(message);
}

std::vector<double> ColumnSampler::sample(std::size_t columns, RowWindow window) const
{
    std::vector<double> words;
    words.reserve(columns);
    for (std::size_t x = 0; x < columns; ++x) {
        double word = 0.0;
        // Columns past the canvas read as outside (-1) for every row; asking
        // the canvas for them would only cost time, so they are skipped.
        if (x < static_cast<std::size_t>(GlyphCanvas::kWidth)) {
            for (int row = window.firstRow; row <= window.lastRow; ++row) {
                if (m_canvas.readPixel(static_cast<int>(x), row) == 0) {
                    word += std::ldexp(1.0, row - window.offset);
                }
            }
        }
        words.push_back(word);
    }
    return words;
}

std::size_t ColumnSampler::messageWidth(const std::u16string& message, std::span<const Picture> pictures) const
{
    const auto pieces = layOut(message, pictures);
    if (pieces.empty()) {
        return static_cast<std::size_t>(std::max(0, m_canvas.textWidth(message)));
    }
    std::int64_t reach = 0;
    for (const Piece& piece : pieces) {
        reach = std::max(reach, piece.reach);
    }
    return static_cast<std::size_t>(reach);
}

void ColumnSampler::sampleWide(const std::u16string& message, std::size_t columns,
                               const std::function<void(double)>& each, std::span<const Picture> pictures)
{
    const auto pieces = layOut(message, pictures);
    const auto piece = static_cast<std::size_t>(GlyphCanvas::kWidth);
    for (std::size_t left = 0; left < columns; left += piece) {
        m_canvas.clear();
        if (pieces.empty()) {
            m_canvas.setPenPosition(-static_cast<int>(left), 0);
            m_canvas.drawText(message);
        } else {
            drawPieces(pieces, static_cast<std::int64_t>(left), static_cast<std::int64_t>(left + piece));
        }
        for (double word : sample(std::min(piece, columns - left), RowWindow::standard())) {
            each(word);
        }
    }
    m_canvas.clear();
    drawMessage(message, pictures);
}

} // namespace generation
