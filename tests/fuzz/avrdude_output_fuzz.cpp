// avrdude's output as the uploader reads it, in pieces as it arrives: any
// text, cut anywhere, comes to the same outcome as read whole, and the
// progress stays between 0 and 100.
#include "board/avrdude_output.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) {
        return 0;
    }
    const int exitCode = data[0] % 3 - 1; // -1: it did not exit by itself
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2));
    const qsizetype step = 1 + data[1] % 16;

    board::AvrdudeOutput whole;
    whole.read(text);
    board::AvrdudeOutput pieces;
    for (qsizetype at = 0; at < text.size(); at += step) {
        pieces.read(QStringView(text).sliced(at, std::min(step, text.size() - at)));
        if (pieces.uploadPercent() < 0 || pieces.uploadPercent() > 100) {
            std::abort();
        }
    }
    if (whole.boardAnswered() != pieces.boardAnswered()) {
        std::abort();
    }
    const board::BoardOutcome atOnce = whole.end(exitCode);
    const board::BoardOutcome inPieces = pieces.end(exitCode);
    if (atOnce.failure != inPieces.failure || atOnce.detail != inPieces.detail
        || (!atOnce.ok() && atOnce.detail.isEmpty())) {
        std::abort();
    }
    return 0;
}
