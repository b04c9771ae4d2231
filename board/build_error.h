#pragma once

#include <QString>
#include <QStringList>

namespace board {

// What the Arduino builder rejected a sketch for, as read from its output:
// the compiler's error, or what the linker found wrong with the whole
// program (a function missing or defined twice, a program too big for the
// flash or its variables for the SRAM). It holds the facts the linker
// named, so that each front end can say them in its own words; reading the
// output is BuilderOutput's.
struct BuildError {
    enum class Kind {
        Unknown,      // the builder failed and said nothing this reader knows
        Compiler,     // the compiler's error; the outcome holds its words and line
        Undefined,    // symbols used but defined nowhere (a sketch without loop())
        DefinedTwice, // symbols defined twice (one the Arduino core defines already)
        FlashFull,    // the program does not fit the flash
        SramFull,     // the variables do not fit the SRAM
    };
    Kind kind = Kind::Unknown;
    // Undefined and DefinedTwice: the names the linker gave, each once, in
    // the order it gave them.
    QStringList symbols;
    // FlashFull and SramFull: the bytes taken and the most the board
    // holds, as the builder reported them; -1 when it did not say.
    int usedBytes = -1;
    int mostBytes = -1;

    // The sketch lacks setup() or loop(), which the core calls.
    bool lacksSetupOrLoop() const
    {
        if (kind != Kind::Undefined || symbols.isEmpty()) {
            return false;
        }
        for (const QString& symbol : symbols) {
            if (symbol != QLatin1String("setup") && symbol != QLatin1String("loop")) {
                return false;
            }
        }
        return true;
    }
};

} // namespace board
