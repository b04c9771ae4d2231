#include "window/memory_line.h"

#include "generation/board_memory.h"
#include "generation/glyph_canvas.h"
#include "platform/qt_glyph_canvas.h"

#include <QFontMetricsF>
#include <QLocale>

namespace window {

using generation::BoardMemory;

namespace {

// No character is narrower than a quarter pixel, so the canvas never holds
// more than this many code units; measuring further would only cost time.
constexpr qsizetype kMostOnCanvas = 4 * generation::GlyphCanvas::kWidth;

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

QString MemoryLine::describe(std::size_t messageLength, std::size_t drawnWidth, std::size_t characters,
                             std::size_t charactersOnSign) const
{
    const QLocale locale(QLocale::Chinese, QLocale::Taiwan);
    QStringList parts;
    if (charactersOnSign < characters) {
        // The option holds only what the flash holds: say how much, so that
        // nobody ticks it for a message it must refuse.
        parts << tr("訊息比畫布（%1 像素）寬：%2 個字只有前 %3 個會出現在看板上；勾選「長訊息」選項可讓整段訊息捲動（最多約 %4 個中文字）。")
                     .arg(generation::GlyphCanvas::kWidth)
                     .arg(locale.toString(qulonglong(characters)))
                     .arg(locale.toString(qulonglong(charactersOnSign)))
                     .arg(locale.toString(qulonglong(BoardMemory::widestWholeMessage() / 16)));
    }
    const auto sketchLine = [&](BoardMemory::Sketch sketch, const QString& name) {
        const std::size_t bytes = BoardMemory::sketchBytes(BoardMemory::columnCount(sketch, messageLength, drawnWidth));
        QString verdict;
        switch (BoardMemory::fit(bytes)) {
        case BoardMemory::Fit::Fits:
            verdict = tr("可以執行");
            break;
        case BoardMemory::Fit::LowMemory:
            verdict = tr("放得進但堆疊不夠，看板會出錯");
            break;
        case BoardMemory::Fit::TooBig:
            verdict = tr("放不進，無法上傳");
            break;
        }
        return tr("%1用 %2 位元組（%3%），%4").arg(name, locale.toString(qulonglong(bytes)))
            .arg(qRound(100.0 * double(bytes) / double(BoardMemory::kSramBytes)))
            .arg(verdict);
    };
    parts << tr("Mega 2560 的 SRAM 共 %1 位元組：").arg(locale.toString(qulonglong(BoardMemory::kSramBytes)))
                 + sketchLine(BoardMemory::Sketch::Panel, tr("面板的程式"))
                 + tr("；") + sketchLine(BoardMemory::Sketch::File, tr("寫入 bb.ino 的程式")) + tr("。");
    parts << tr("堆疊最深要 %1 位元組（在模擬板上量得）；面板的程式最多放 %2 個字，bb.ino 最多 %3 個字。")
                 .arg(BoardMemory::kStackBytes)
                 .arg(BoardMemory::longestMessageThatFits(BoardMemory::Sketch::Panel))
                 .arg(BoardMemory::longestMessageThatFits(BoardMemory::Sketch::File));
    return parts.join(QLatin1Char('\n'));
}

QString MemoryLine::describeWholeMessage(std::size_t width)
{
    const QLocale locale(QLocale::Chinese, QLocale::Taiwan);
    const auto number = [&](std::size_t n) { return locale.toString(qulonglong(n)); };
    const std::size_t flash = BoardMemory::wholeMessageFlashBytes(width);
    const std::size_t sram = BoardMemory::wholeMessageSramBytes(width);
    // A Chinese character is 16 columns wide at the canvas's size.
    return tr("整段訊息存入快閃記憶體：%1 欄（約 %2 個中文字寬）全部會捲過看板。").arg(number(width), number(width / 16))
           + QLatin1Char('\n')
           + tr("Mega 2560 的快閃記憶體用 %1／%2 位元組（%3%），SRAM 用 %4／%5 位元組，可以執行。")
                 .arg(number(flash), number(BoardMemory::kFlashBytes))
                 .arg(qRound(100.0 * double(flash) / double(BoardMemory::kFlashBytes)))
                 .arg(number(sram), number(BoardMemory::kSramBytes))
           + QLatin1Char('\n')
           + tr("最長可放 %1 欄，約 %2 個中文字。")
                 .arg(number(BoardMemory::widestWholeMessage()), number(BoardMemory::widestWholeMessage() / 16));
}

void MemoryLine::showWholeMessage(std::size_t width)
{
    setText(describeWholeMessage(width));
    setStyleSheet(QString());
}

void MemoryLine::showMessage(const QString& message, std::size_t drawnWidth, const platform::QtGlyphCanvas& canvas)
{
    const auto length = static_cast<std::size_t>(message.size());
    setText(describe(length, drawnWidth, static_cast<std::size_t>(message.toUcs4().size()),
                     charactersOnSign(message, canvas)));
    int running = 0;
    for (BoardMemory::Sketch sketch : {BoardMemory::Sketch::Panel, BoardMemory::Sketch::File}) {
        if (BoardMemory::fit(BoardMemory::sketchBytes(BoardMemory::columnCount(sketch, length, drawnWidth)))
            == BoardMemory::Fit::Fits) {
            ++running;
        }
    }
    if (running == 0) {
        setStyleSheet(QStringLiteral("color: #c00000;"));
    } else if (running == 1) {
        setStyleSheet(QStringLiteral("color: #a05000;"));
    } else {
        setStyleSheet(QString());
    }
}

} // namespace window
