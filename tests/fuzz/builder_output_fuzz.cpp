// arduino-builder's output as the compiler reads it: any text gives an
// outcome, and a failed build always says something.
#include "board/builder_output.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const int exitCode = data[0] % 3; // 0: it compiled
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const board::BoardOutcome outcome = board::BuilderOutput::read(text, exitCode);
    if (outcome.ok() != (exitCode == 0) || (!outcome.ok() && outcome.detail.isEmpty()) || outcome.sketchLine < 0) {
        std::abort();
    }
    return 0;
}
