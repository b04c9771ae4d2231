#include "window/memory_line.h"

#include "generation/board_memory.h"
#include "generation/glyph_canvas.h"
#include "generation/marquee_shape.h"
#include "platform/qt_glyph_canvas.h"

#include <QFontMetricsF>
#include <QLocale>

namespace window {

using generation::BoardMemory;
using generation::MarqueeShape;

namespace {

// No character is narrower than a quarter pixel, so the canvas never holds
// more than this many code units; measuring further would only cost time.
constexpr qsizetype kMostOnCanvas = 4 * generation::GlyphCanvas::kWidth;

QString number(std::size_t n)
{
    return QLocale(QLocale::Chinese, QLocale::Taiwan).toString(qulonglong(n));
}

int percent(std::size_t part, std::size_t whole)
{
    return qRound(100.0 * double(part) / double(whole));
}

BoardMemory::Fit fitOf(BoardMemory::Sketch sketch, std::size_t messageLength, std::size_t drawnWidth)
{
    return BoardMemory::fit(BoardMemory::sketchBytes(BoardMemory::columnCount(sketch, messageLength, drawnWidth)));
}

} // namespace

MemoryLine::MemoryLine(QWidget* parent)
    : QLabel(parent)
{
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setText(tr("按下產生程式後，這裡會預覽看板，並說明程式放不放得進 Mega 2560。"));
}

std::size_t MemoryLine::charactersOnSign(const QString& message, const platform::QtGlyphCanvas& canvas)
{
    const QFontMetricsF metrics(canvas.font(), &canvas.image());
    const QString considered = message.left(kMostOnCanvas);
    // The longest prefix whose drawing ends within the canvas.
    qsizetype low = 0;
    qsizetype high = considered.size();
    while (low < high) {
        const qsizetype middle = low + (high - low + 1) / 2;
        if (metrics.horizontalAdvance(considered.left(middle)) <= generation::GlyphCanvas::kWidth) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    if (low > 0 && considered.at(low - 1).isHighSurrogate()) {
        --low; // half a character is none
    }
    return static_cast<std::size_t>(QStringView(considered).left(low).toUcs4().size());
}

void MemoryLine::showMessage(const QString& message, std::size_t drawnWidth, const platform::QtGlyphCanvas& canvas)
{
    using Fit = BoardMemory::Fit;
    using Sketch = BoardMemory::Sketch;
    const auto length = static_cast<std::size_t>(message.size());
    const auto characters = static_cast<std::size_t>(message.toUcs4().size());
    const std::size_t shown = charactersOnSign(message, canvas);
    const Fit panel = fitOf(Sketch::Panel, length, drawnWidth);
    const Fit file = fitOf(Sketch::File, length, drawnWidth);
    // The file's sketch has more columns, so it is the first to run out.
    const std::size_t longestForBoth = BoardMemory::longestMessageThatFits(Sketch::File);
    const auto consequence = [this](Fit fit) {
        return fit == Fit::TooBig ? tr("無法上傳") : tr("看板會出錯");
    };

    QStringList lines;
    if (shown < characters) {
        // The option holds only what the flash holds: say how much, so that
        // nobody ticks it for a message it must refuse.
        lines << tr("看板只顯示訊息 %1 個字的前 %2 個（畫布寬 %3 像素）；勾選「長訊息」可讓整段捲動（最多約 %4 個中文字）。")
                     .arg(number(characters), number(shown))
                     .arg(generation::GlyphCanvas::kWidth)
                     .arg(number(BoardMemory::kMaxFlashColumns / MarqueeShape::kCharacterColumns));
    } else {
        lines << tr("看板會顯示訊息的全部 %1 個字。").arg(number(characters));
    }
    if (panel == Fit::Fits && file == Fit::Fits) {
        lines << tr("程式放得進 Mega 2560，可以執行。");
    } else if (panel == Fit::Fits) {
        lines << tr("面板的程式可以執行；寫入 bb.ino 的程式放不下，%1（訊息要在 %2 個字以內）。")
                     .arg(consequence(file), number(longestForBoth));
    } else {
        lines << tr("程式放不進 Mega 2560 的 SRAM，%1：訊息要在 %2 個字以內。")
                     .arg(consequence(panel), number(longestForBoth));
    }

    const auto sketchLine = [&](Sketch sketch, const QString& name) {
        const std::size_t bytes = BoardMemory::sketchBytes(BoardMemory::columnCount(sketch, length, drawnWidth));
        QString verdict;
        switch (BoardMemory::fit(bytes)) {
        case Fit::Fits:
            verdict = tr("可以執行");
            break;
        case Fit::LowMemory:
            verdict = tr("放得進但堆疊不夠，看板會出錯");
            break;
        case Fit::TooBig:
            verdict = tr("放不進，無法上傳");
            break;
        }
        return tr("%1用 %2 位元組（%3%），%4。")
            .arg(name, number(bytes))
            .arg(percent(bytes, BoardMemory::kSramBytes))
            .arg(verdict);
    };
    const QStringList details = {
        tr("Mega 2560 的 SRAM 共 %1 位元組。").arg(number(BoardMemory::kSramBytes)),
        sketchLine(Sketch::Panel, tr("面板的程式")),
        sketchLine(Sketch::File, tr("寫入 bb.ino 的程式")),
        tr("堆疊最深要 %1 位元組（在模擬板上量得）。訊息最長：面板的程式 %2 個字，bb.ino 的程式 %3 個字。")
            .arg(BoardMemory::kStackBytes)
            .arg(number(BoardMemory::longestMessageThatFits(Sketch::Panel)), number(longestForBoth)),
    };

    const int running = (panel == Fit::Fits ? 1 : 0) + (file == Fit::Fits ? 1 : 0);
    present(lines.join(QLatin1Char('\n')), details.join(QLatin1Char('\n')),
         running == 0 ? ThemeColours::Tone::Problem : running == 1 ? ThemeColours::Tone::Warning : ThemeColours::Tone::Plain);
}

void MemoryLine::showWholeMessage(std::size_t characters, std::size_t width)
{
    const std::size_t flash = BoardMemory::wholeMessageFlashBytes(width);
    const std::size_t sram = BoardMemory::wholeMessageSramBytes(width);
    const std::size_t widest = BoardMemory::kMaxFlashColumns;
    const QString text = tr("整段訊息的 %1 個字全部會捲過看板；程式可以執行。").arg(number(characters)) + QLatin1Char('\n')
        + tr("用了 Mega 2560 快閃記憶體的 %1%，最多可放約 %2 個中文字。")
              .arg(percent(flash, BoardMemory::kFlashBytes))
              .arg(number(widest / MarqueeShape::kCharacterColumns));
    const QString details = tr("訊息 %1 欄寬。快閃記憶體用 %2／%3 位元組，SRAM 用 %4／%5 位元組。").arg(number(width))
                                .arg(number(flash), number(BoardMemory::kFlashBytes))
                                .arg(number(sram), number(BoardMemory::kSramBytes))
        + QLatin1Char('\n') + tr("最寬可放 %1 欄，約 %2 個中文字。").arg(number(widest), number(widest / MarqueeShape::kCharacterColumns));
    present(text, details, ThemeColours::Tone::Plain);
}

void MemoryLine::showMeasured(int flashBytes, int sramBytes)
{
    if (flashBytes < 0 || sramBytes < 0) {
        return;
    }
    const auto flash = std::size_t(flashBytes);
    const auto sram = std::size_t(sramBytes);
    const QString text = tr("輸出區的程式實測（avr-size）：快閃記憶體用 %1／%2 位元組（%3%），SRAM 的全域變數用 %4／%5 位元組（%6%）。")
                             .arg(number(flash), number(BoardMemory::kFlashBytes))
                             .arg(percent(flash, BoardMemory::kFlashBytes))
                             .arg(number(sram), number(BoardMemory::kSramBytes))
                             .arg(percent(sram, BoardMemory::kSramBytes));
    present(text, text, ThemeColours::Tone::Plain);
}

void MemoryLine::present(const QString& text, const QString& details, ThemeColours::Tone tone)
{
    setText(text);
    setToolTip(details);
    setAccessibleDescription(details);
    ThemeColours::setTone(*this, tone);
}

} // namespace window
