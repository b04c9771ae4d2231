#include "generation/column_sampler.h"

#include <algorithm>
#include <cmath>

namespace generation {

ColumnSampler::ColumnSampler(GlyphCanvas& canvas)
    : m_canvas(canvas)
{
}

void ColumnSampler::drawTitle(const std::u16string& title)
{
    m_canvas.setFontSize(kTextPoints);
    m_canvas.setPenPosition(0, 0);
    m_canvas.clear();
    m_canvas.drawText(title);
}

void ColumnSampler::clear()
{
    m_canvas.clear();
}

void ColumnSampler::drawMessage(const std::u16string& message)
{
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

std::size_t ColumnSampler::messageWidth(const std::u16string& message) const
{
    return static_cast<std::size_t>(std::max(0, m_canvas.textWidth(message)));
}

void ColumnSampler::sampleWide(const std::u16string& message, std::size_t columns,
                               const std::function<void(double)>& each)
{
    const auto piece = static_cast<std::size_t>(GlyphCanvas::kWidth);
    for (std::size_t left = 0; left < columns; left += piece) {
        m_canvas.clear();
        m_canvas.setPenPosition(-static_cast<int>(left), 0);
        m_canvas.drawText(message);
        for (double word : sample(std::min(piece, columns - left), RowWindow::standard())) {
            each(word);
        }
    }
    m_canvas.clear();
    drawMessage(message);
}

} // namespace generation
