#include "window/memory_line.h"

#include "window/taiwan_number.h"

#include "generation/board_memory.h"
#include "generation/glyph_canvas.h"
#include "generation/marquee_shape.h"


namespace window {

using generation::BoardMemory;
using generation::MarqueeShape;

namespace {

int percent(std::size_t part, std::size_t whole)
{
    return qRound(100.0 * double(part) / double(whole));
}

// The sketch's message column count; a message with pictures runs on to
// its last drawn column in either sketch.
std::size_t columnsOf(BoardMemory::Sketch sketch, const ShownSketch& given)
{
    return BoardMemory::columnCount(sketch, given.messageLength, given.drawnWidth, given.messagePictures > 0);
}

BoardMemory::Fit fitOf(BoardMemory::Sketch sketch, const ShownSketch& given)
{
    return BoardMemory::fit(BoardMemory::sketchBytes(columnsOf(sketch, given)));
}

} // namespace

MemoryLine::MemoryLine(QWidget* parent)
    : QLabel(parent)
{
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    present(describe(ShownSketch(), std::nullopt));
}

MemoryLine::Account MemoryLine::describe(const ShownSketch& sketch, const std::optional<Session::Measured>& measured)
{
    if (measured) {
        return describeMeasured(*measured, sketch.kind == ShownSketch::Kind::WiringTest && !sketch.edited);
    }
    Account account;
    switch (sketch.kind) {
    case ShownSketch::Kind::Placeholder:
        return {tr("按下產生程式後，這裡會預覽看板，並說明程式放不放得進 Mega 2560。"), QString(), ThemeColours::Tone::Plain};
    case ShownSketch::Kind::Marquee:
        account = sketch.layout.storage == generation::MessageStorage::Flash ? describeWholeMessage(sketch)
                                                                               : describeMessage(sketch);
        break;
    case ShownSketch::Kind::WiringTest:
        account = describeWiringTest();
        break;
    }
    if (sketch.edited) {
        // The verdict stays in view; the whole account moves to the tooltip.
        account.details = account.text + QLatin1Char('\n') + account.details;
        account.text = tr("輸出區已手動修改，以下是產生的程式的數字；按「在模擬看板上試跑」可實測修改後的程式。")
            + QLatin1Char('\n') + account.text.section(QLatin1Char('\n'), -1);
    }
    return account;
}

void MemoryLine::show(const ShownSketch& sketch, const std::optional<Session::Measured>& measured)
{
    present(describe(sketch, measured));
}

MemoryLine::Account MemoryLine::describeMessage(const ShownSketch& given)
{
    using Fit = BoardMemory::Fit;
    using Sketch = BoardMemory::Sketch;
    const std::size_t characters = given.messageCharacters;
    const std::size_t shown = given.charactersOnSign;
    const Fit panel = fitOf(Sketch::Panel, given);
    const Fit file = fitOf(Sketch::File, given);
    // The file's sketch has more columns, so it is the first to run out.
    const std::size_t longestForBoth = BoardMemory::longestMessageThatFits(Sketch::File);
    const auto consequence = [](Fit fit) {
        return fit == Fit::TooBig ? tr("無法上傳") : tr("看板會出錯");
    };

    // A picture counts as one character.
    const QString counted = given.messagePictures > 0
        ? tr("%1 個字（含 %2 張圖片）").arg(taiwanNumber(characters), taiwanNumber(given.messagePictures))
        : tr("%1 個字").arg(taiwanNumber(characters));
    QStringList lines;
    if (shown < characters) {
        // The option holds only what the flash holds: say how much, so that
        // nobody ticks it for a message it must refuse.
        lines << tr("看板只顯示訊息 %1的前 %2 個（畫布寬 %3 像素）；勾選「長訊息」可讓整段捲動（最多約 %4 個中文字）。")
                     .arg(counted, taiwanNumber(shown))
                     .arg(generation::GlyphCanvas::kWidth)
                     .arg(taiwanNumber(BoardMemory::kMaxFlashColumns / MarqueeShape::kCharacterColumns));
    } else {
        lines << tr("看板會顯示訊息的全部 %1。").arg(counted);
    }
    if (panel == Fit::Fits && file == Fit::Fits) {
        lines << tr("程式放得進 Mega 2560，可以執行。");
    } else if (panel == Fit::Fits) {
        lines << tr("面板的程式可以執行；寫入 bb.ino 的程式放不下，%1（訊息要在 %2 個字以內）。")
                     .arg(consequence(file), taiwanNumber(longestForBoth));
    } else {
        lines << tr("程式放不進 Mega 2560 的 SRAM，%1：訊息要在 %2 個字以內。")
                     .arg(consequence(panel), taiwanNumber(longestForBoth));
    }

    const auto sketchLine = [&](Sketch sketch, const QString& name) {
        const std::size_t bytes = BoardMemory::sketchBytes(columnsOf(sketch, given));
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
            .arg(name, taiwanNumber(bytes))
            .arg(percent(bytes, BoardMemory::kSramBytes))
            .arg(verdict);
    };
    const QStringList details = {
        tr("Mega 2560 的 SRAM 共 %1 位元組。").arg(taiwanNumber(BoardMemory::kSramBytes)),
        sketchLine(Sketch::Panel, tr("面板的程式")),
        sketchLine(Sketch::File, tr("寫入 bb.ino 的程式")),
        tr("堆疊最深要 %1 位元組（在模擬板上量得）。訊息最長：面板的程式 %2 個字，bb.ino 的程式 %3 個字。")
            .arg(BoardMemory::kStackBytes)
            .arg(taiwanNumber(BoardMemory::longestMessageThatFits(Sketch::Panel)), taiwanNumber(longestForBoth)),
    };

    const int running = (panel == Fit::Fits ? 1 : 0) + (file == Fit::Fits ? 1 : 0);
    return {lines.join(QLatin1Char('\n')), details.join(QLatin1Char('\n')),
         running == 0 ? ThemeColours::Tone::Problem : running == 1 ? ThemeColours::Tone::Warning : ThemeColours::Tone::Plain};
}

MemoryLine::Account MemoryLine::describeWholeMessage(const ShownSketch& sketch)
{
    const std::size_t characters = sketch.messageCharacters;
    const std::size_t width = sketch.messageColumns;
    const std::size_t flash = BoardMemory::wholeMessageFlashBytes(width);
    const std::size_t sram = BoardMemory::wholeMessageSramBytes(width);
    const std::size_t widest = BoardMemory::kMaxFlashColumns;
    const QString text = tr("整段訊息的 %1 個字全部會捲過看板；程式可以執行。").arg(taiwanNumber(characters)) + QLatin1Char('\n')
        + tr("用了 Mega 2560 快閃記憶體的 %1%，最多可放約 %2 個中文字。")
              .arg(percent(flash, BoardMemory::kFlashBytes))
              .arg(taiwanNumber(widest / MarqueeShape::kCharacterColumns));
    const QString details = tr("訊息 %1 欄寬。快閃記憶體用 %2／%3 位元組，SRAM 用 %4／%5 位元組。").arg(taiwanNumber(width))
                                .arg(taiwanNumber(flash), taiwanNumber(BoardMemory::kFlashBytes))
                                .arg(taiwanNumber(sram), taiwanNumber(BoardMemory::kSramBytes))
        + QLatin1Char('\n') + tr("最寬可放 %1 欄，約 %2 個中文字。").arg(taiwanNumber(widest), taiwanNumber(widest / MarqueeShape::kCharacterColumns));
    return {text, details, ThemeColours::Tone::Plain};
}

MemoryLine::Account MemoryLine::describeWiringTest()
{
    const std::size_t flash = BoardMemory::kWiringTestFlashBytes;
    const std::size_t sram = BoardMemory::kWiringTestSramBytes;
    const QString text = tr("接線測試：SRAM 用 %1／%2 位元組（%3%），快閃記憶體用 %4 位元組；可以執行。")
                             .arg(taiwanNumber(sram), taiwanNumber(BoardMemory::kSramBytes))
                             .arg(percent(sram, BoardMemory::kSramBytes))
                             .arg(taiwanNumber(flash));
    const QString details = tr("接線測試沒有訊息，不論標題和訊息寫什麼，用的記憶體都一樣（avr-size 量得）：") + QLatin1Char('\n')
        + tr("SRAM 的全域變數用 %1／%2 位元組，快閃記憶體用 %3／%4 位元組（%5%）；堆疊最深要 %6 位元組。")
              .arg(taiwanNumber(sram), taiwanNumber(BoardMemory::kSramBytes))
              .arg(taiwanNumber(flash), taiwanNumber(BoardMemory::kFlashBytes))
              .arg(percent(flash, BoardMemory::kFlashBytes))
              .arg(BoardMemory::kStackBytes);
    return {text, details, ThemeColours::Tone::Plain};
}

MemoryLine::Account MemoryLine::describeMeasured(const Session::Measured& measured, bool wiringTest)
{
    const auto flash = std::size_t(measured.flashBytes);
    const auto sram = std::size_t(measured.sramBytes);
    const QString text = tr("%1實測（avr-size）：快閃記憶體用 %2／%3 位元組（%4%），SRAM 的全域變數用 %5／%6 位元組（%7%）。")
                             .arg(wiringTest ? tr("輸出區的接線測試") : tr("輸出區的程式"))
                             .arg(taiwanNumber(flash), taiwanNumber(BoardMemory::kFlashBytes))
                             .arg(percent(flash, BoardMemory::kFlashBytes))
                             .arg(taiwanNumber(sram), taiwanNumber(BoardMemory::kSramBytes))
                             .arg(percent(sram, BoardMemory::kSramBytes));
    return {text, text, ThemeColours::Tone::Plain};
}

void MemoryLine::present(const Account& account)
{
    // The text itself is what a screen reader reads as the line's name.
    setText(account.text);
    setToolTip(account.details);
    setAccessibleDescription(account.details.isEmpty() ? tr("記憶體用量")
                                                       : tr("記憶體用量") + QLatin1Char('\n') + account.details);
    ThemeColours::setTone(*this, account.tone);
}

} // namespace window
