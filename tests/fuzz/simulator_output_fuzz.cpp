// The simulator's output as the tool reads it: any text, whole or cut in
// two at any place, reads the same and never crashes the reader.
#include "simulator/simulator_output.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const qsizetype cut = text.isEmpty() ? 0 : data[0] % (text.size() + 1);

    simulator::SimulatorOutput whole;
    const auto atOnce = whole.read(text);
    simulator::SimulatorOutput pieces;
    auto inPieces = pieces.read(QStringView(text).first(cut));
    const auto rest = pieces.read(QStringView(text).sliced(cut));
    inPieces.insert(inPieces.end(), rest.begin(), rest.end());

    if (atOnce.size() != inPieces.size()) {
        std::abort();
    }
    for (std::size_t i = 0; i < atOnce.size(); ++i) {
        if (atOnce[i].index() != inPieces[i].index()) {
            std::abort();
        }
    }
    return 0;
}
