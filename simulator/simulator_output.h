#pragma once

#include "generation/marquee_shape.h"
#include "generation/sketch_layout.h"

#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace simulator {

// The lines the simulator program writes while a sketch runs on the
// simulated Mega, and what they say: the wiring recognised, the frames the
// sign shows, how bright each LED looks, that the sign is still dark, a
// fault of the sketch, the end of the run. The simulator writes them with the
// line functions and its callers read them back with read(), so the format
// lives here alone. It runs nothing and shows nothing.
class SimulatorOutput {
public:
    static constexpr int kColumns = generation::MarqueeShape::kColumns;
    static constexpr int kRows = generation::MarqueeShape::kRows;
    static constexpr int kLevels = 16; // brightness 0 (dark) to 15 (lit all of its share)

    using Words = std::array<std::uint16_t, kColumns>;
    // Column by column, the top row (bit 0) first.
    using Levels = std::array<std::uint8_t, kColumns * kRows>;

    // Which data ports carry the column word: those of one of the sketches'
    // wirings (K and F as the panel's sketch drives them, B and A as bb.ino
    // does), or of both at once.
    struct Wiring {
        generation::PortWiring ports = generation::PortWiring::PortsKF; // the first of both
        bool both = false;
        bool operator==(const Wiring&) const = default;
    };
    // One pass of port C over the columns 0 to 63, from the moment column 0
    // was selected.
    struct Frame {
        std::uint64_t microseconds = 0;
        Words words{};
    };
    // How long each LED was lit over one display period, ending then.
    struct Light {
        std::uint64_t microseconds = 0;
        Levels levels{};
    };
    struct Fault {
        enum class Kind {
            Crashed,       // simavr gave up on the core
            InvalidOpcode, // the core met a word that is no instruction
            Restarted,     // the core went back to address 0, once or twice
            Resets,        // ... and again and again
            Asleep,        // asleep with interrupts off
            NoColumns,     // port C never passed over the 64 columns
        };
        Kind kind = Kind::Crashed;
        std::uint64_t microseconds = 0; // when it happened (the first restart)
        std::uint32_t address = 0;      // where, as a byte address in flash
        int restarts = 0;

        // When and where, as both the window and the command line say them:
        // seconds to the millisecond, and the address in hex.
        QString secondsText() const { return QString::number(double(microseconds) / 1e6, 'f', 3); }
        QString addressText() const { return QStringLiteral("0x%1").arg(address, 5, 16, QLatin1Char('0')); }
    };
    // A run as fast as it can has come this far, in simulated time.
    struct Progress {
        std::uint64_t microseconds = 0;
    };
    // The board has run this long and has not yet passed over the 64
    // columns: said every kDarkEvery while it has not, never once it has.
    struct Dark {
        std::uint64_t microseconds = 0;
    };
    static constexpr std::uint64_t kDarkEveryMicroseconds = 500000;
    // The run ended, at this simulated time.
    struct End {
        std::uint64_t microseconds = 0;
    };
    // The simulator could not run the sketch (an unreadable file), or failed
    // itself while it ran it.
    struct Error {
        QString text;
    };
    // A line that says none of the above, as it came: a simulator of another
    // version, or one that broke off.
    struct Unreadable {
        QString line;
    };
    using Event = std::variant<Wiring, Frame, Light, Dark, Fault, Progress, End, Error, Unreadable>;

    static std::string wiringLine(Wiring wiring);
    static std::string frameLine(const Frame& frame);
    static std::string lightLine(const Light& light);
    static std::string darkLine(std::uint64_t microseconds);
    static std::string faultLine(const Fault& fault);
    static std::string progressLine(std::uint64_t microseconds);
    static std::string endLine(std::uint64_t microseconds);
    static std::string errorLine(const std::string& text);
    // A frame as `ledmarquee-cli --simulate` prints it: the time in
    // microseconds, then the 64 words as four hex digits each.
    static std::string frameText(const Frame& frame);

    // Takes the simulator's output as it arrives, in pieces of any size, and
    // returns what its complete lines say, one event a line; a partial line
    // waits for the rest.
    std::vector<Event> read(QStringView text);

private:
    static Event parse(QStringView line);
    static bool parseFields(QStringView tag, QStringView rest, Event& event);

    QString m_partial;
};

} // namespace simulator
