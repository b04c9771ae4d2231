#include "generation/sketch_steps.h"

#include "generation/board_memory.h"
#include "generation/flash_layout.h"
#include "generation/glyph_canvas.h"
#include "generation/marquee_shape.h"
#include "generation/number_text.h"
#include "generation/picture_marks.h"
#include "generation/sketch_error.h"
#include "generation/sketch_text.h"

#include <algorithm>
#include <stdexcept>

namespace generation {

namespace {

constexpr std::size_t kWordsPerLine = 64;

// Writes the SRAM message array: the 64 blank entries and the first word on
// the array's first line, then 64 words a line, "};" after the last. Runs of
// zeros that fill whole lines are written as one ready-made line.
class SramBody {
public:
    SramBody(LineFile& out, std::size_t total, std::string firstLine)
        : m_out(out)
        , m_total(total)
        , m_line(std::move(firstLine))
    {
        for (int i = 0; i < MarqueeShape::kColumns; ++i) {
            m_line += "0,";
        }
        for (std::size_t i = 0; i < kWordsPerLine; ++i) {
            appendNumberText(m_zeroLine, 0.0);
            m_zeroLine += ',';
        }
    }

    void add(double word)
    {
        appendNumberText(m_line, word);
        const std::size_t index = m_written++;
        if (m_written == m_total) {
            m_line += "};";
            flush();
        } else {
            m_line += ',';
            if (index % kWordsPerLine == 0) {
                flush();
            }
        }
    }

    void addZeros(std::size_t count)
    {
        while (count > 0) {
            // A whole line of zeros that does not hold the last word.
            if (m_line.empty() && count >= kWordsPerLine && m_written + kWordsPerLine < m_total) {
                m_out.writeLine(m_zeroLine);
                m_written += kWordsPerLine;
                count -= kWordsPerLine;
            } else {
                add(0.0);
                --count;
            }
        }
    }

private:
    void flush()
    {
        m_out.writeLine(m_line);
        m_line.clear();
    }

    LineFile& m_out;
    std::size_t m_total;
    std::size_t m_written = 0;
    std::string m_line;
    std::string m_zeroLine;
};

// Writes the flash arrays: SketchText::kFlashArrayWords words each, 64 a
// line, as the whole numbers the board stores.
class FlashBody {
public:
    FlashBody(LineFile& out, std::size_t total)
        : m_out(out)
        , m_total(total)
    {
    }

    void add(double word)
    {
        if (m_written % SketchText::kFlashArrayWords == 0) {
            m_out.writeLine(SketchText::flashArrayOpen(m_written / SketchText::kFlashArrayWords));
        }
        m_line += std::to_string(boardWord(word));
        ++m_written;
        if (m_written == m_total || m_written % SketchText::kFlashArrayWords == 0) {
            m_line += "};";
            flush();
        } else {
            m_line += ',';
            if (m_written % kWordsPerLine == 0) {
                flush();
            }
        }
    }

private:
    // The fraction the standard row window gives row 0 is dropped, as the
    // board's compiler drops it from the SRAM sketches' words.
    static unsigned boardWord(double word) { return word > 0 ? static_cast<unsigned>(word) & 0xFFFFu : 0u; }

    void flush()
    {
        m_out.writeLine(m_line);
        m_line.clear();
    }

    LineFile& m_out;
    std::size_t m_total;
    std::size_t m_written = 0;
    std::string m_line;
};

// The last column with a non-zero word, plus one; 0 when there is none.
std::size_t inkedWidth(const std::vector<double>& words)
{
    const auto last = std::find_if(words.rbegin(), words.rend(), [](double word) { return word != 0; });
    return static_cast<std::size_t>(words.rend() - last);
}

} // namespace

SketchSteps::SketchSteps(ColumnSampler& sampler, SketchLayout layout)
    : m_sampler(sampler)
    , m_layout(layout)
{
    // A count of 0 would write j<=-1, which an unsigned counter never ends.
    if (m_layout.stepFrames < MarqueeShape::kMinStepFrames || m_layout.stepFrames > MarqueeShape::kMaxStepFrames) {
        throw std::out_of_range("frames per marquee step out of range");
    }
}

PanelSketch SketchSteps::write(LineFile& out, const std::u16string& title, const std::u16string& message,
                               RowWindow titleWindow, std::span<const Picture> pictures)
{
    const auto [titlePictures, messagePictures] = PictureMarks::deal(title, message, pictures);
    PanelSketch result;
    result.stepFrames = m_layout.stepFrames;
    m_sampler.drawTitle(title, titlePictures);
    result.titleWords = m_sampler.sample(SketchText::kTitleColumns, titleWindow);
    m_sampler.clear();

    if (m_layout.storage == MessageStorage::Flash) {
        writeFlashMessage(out, message, messagePictures, result);
    } else {
        writeSramMessage(out, message, messagePictures, result);
    }
    return result;
}

void SketchSteps::writeSramMessage(LineFile& out, const std::u16string& message, std::span<const Picture> pictures,
                                   PanelSketch& result)
{
    for (const auto& line : SketchText::headLines(m_layout)) {
        out.writeLine(line);
    }
    out.writeLine(SketchText::titleArray(result.titleWords));

    // The file's count depends on how far the drawing reaches, so the
    // canvas is read before the count is written. Only the canvas's columns
    // can be non-zero; the rest are written as zeros without sampling them.
    m_sampler.drawMessage(message, pictures);
    std::vector<double> words = m_sampler.sample(GlyphCanvas::kWidth, RowWindow::standard());
    result.drawnWidth = inkedWidth(words);
    result.columnCount = m_layout.messageColumns(message.size(), result.drawnWidth, !pictures.empty());
    out.writeLine(SketchText::countLine(result.columnCount, m_layout));
    out.writeLine(SketchText::messageHead());

    const std::size_t drawn = std::min(result.columnCount, words.size());
    words.resize(drawn);
    result.messageWords = std::move(words);

    // The panel opens its array on the first line of words; the file gives
    // the opening a line of its own.
    std::string firstLine = SketchText::messageArrayOpen();
    if (m_layout.wiring == PortWiring::PortsBA) {
        out.writeLine(firstLine);
        firstLine.clear();
    }
    SramBody body(out, result.columnCount, std::move(firstLine));
    for (double word : result.messageWords) {
        body.add(word);
    }
    body.addZeros(result.columnCount - drawn);

    for (const auto& line : SketchText::programLines(m_layout)) {
        out.writeLine(line);
    }
}

void SketchSteps::writeFlashMessage(LineFile& out, const std::u16string& message, std::span<const Picture> pictures,
                                    PanelSketch& result)
{
    // An empty message still keeps one dark column, so that there is an array.
    const std::size_t width = std::max<std::size_t>(1, m_sampler.messageWidth(message, pictures));
    if (width > BoardMemory::kMaxFlashColumns) {
        throw SketchError::messageTooWide(width, BoardMemory::kMaxFlashColumns);
    }
    const FlashLayout layout = FlashLayout::forWidth(width);

    for (const auto& line : SketchText::headLines(m_layout)) {
        out.writeLine(line);
    }
    out.writeLine(SketchText::titleArray(result.titleWords));
    result.columnCount = width + MarqueeShape::kColumns;
    out.writeLine(SketchText::countLine(result.columnCount, m_layout));
    out.writeLine(SketchText::messageHead());

    FlashBody body(out, width);
    result.messageWords.reserve(width);
    m_sampler.sampleWide(
        message, width,
        [&](double word) {
            body.add(word);
            result.messageWords.push_back(word);
        },
        pictures);
    result.drawnWidth = inkedWidth(result.messageWords);
    for (const auto& line : SketchText::flashReader(layout.arrays, layout.far)) {
        out.writeLine(line);
    }
    for (const auto& line : SketchText::programLines(m_layout, layout.arrays, layout.far)) {
        out.writeLine(line);
    }
}

} // namespace generation
