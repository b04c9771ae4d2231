#include "window/memory_line.h"

#include "generation/board_memory.h"

namespace window {

using generation::BoardMemory;

MemoryLine::MemoryLine(QWidget* parent)
    : QLabel(parent)
{
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setText(QStringLiteral("Generate a sketch to preview the sign and check that it fits the board."));
}

QString MemoryLine::describe(std::size_t columnCount)
{
    const std::size_t bytes = BoardMemory::panelSketchBytes(columnCount);
    const auto sram = BoardMemory::kSramBytes;
    const QString usage = QStringLiteral("Mega 2560 memory: %1 of %2 bytes (%3%) for global variables.")
                              .arg(bytes)
                              .arg(sram)
                              .arg(qRound(100.0 * double(bytes) / double(sram)));
    const QString limits = QStringLiteral("Messages up to %1 characters fit; up to %2 leave the stack a quarter.")
                               .arg(BoardMemory::longestMessageThatFits())
                               .arg(BoardMemory::longestMessageWithStackRoom());
    switch (BoardMemory::fit(bytes)) {
    case BoardMemory::Fit::TooBig:
        return QStringLiteral("Too big for the board: ") + usage + QLatin1Char(' ') + limits;
    case BoardMemory::Fit::LowMemory:
        return QStringLiteral("Low memory: ") + usage
               + QStringLiteral(" Less than a quarter is left for the stack; the sign may crash. ") + limits;
    case BoardMemory::Fit::Fits:
        break;
    }
    return usage + QLatin1Char(' ') + limits;
}

void MemoryLine::showColumnCount(std::size_t columnCount)
{
    setText(describe(columnCount));
    switch (BoardMemory::fit(BoardMemory::panelSketchBytes(columnCount))) {
    case BoardMemory::Fit::TooBig:
        setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold;"));
        break;
    case BoardMemory::Fit::LowMemory:
        setStyleSheet(QStringLiteral("color: #a05000;"));
        break;
    case BoardMemory::Fit::Fits:
        setStyleSheet(QString());
        break;
    }
}

} // namespace window
