#pragma once

#include <cstddef>

namespace generation {

// How much of the Mega 2560's SRAM a panel sketch's globals take: its five
// arrays and counters plus the Arduino core's own globals. It says nothing
// about flash, which the sketches never come near filling.
class BoardMemory {
public:
    static constexpr std::size_t kSramBytes = 8192;
    // The core's own globals (millis counters and the like) in a sketch with
    // empty setup() and loop(), measured with avr-size.
    static constexpr std::size_t kCoreGlobalBytes = 9;
    static constexpr std::size_t kStackBytes = 15;

    enum class Fit { Fits, LowMemory, TooBig };

    // Global bytes of a panel sketch with this message column count.
    static std::size_t panelSketchBytes(std::size_t columnCount);
    // Too big past the SRAM; low when under a quarter is left for the stack,
    // the point at which the Arduino IDE warns: such a sketch links but may
    // crash on the board.
    static Fit fit(std::size_t bytes);
    // The longest message (UTF-16 code units) whose panel sketch still fits,
    // and the longest that also leaves a quarter for the stack.
    static std::size_t longestMessageThatFits();
    static std::size_t longestMessageWithStackRoom();
};

} // namespace generation
