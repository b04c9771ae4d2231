#pragma once

#include "simulator/simulated_mega.h"
#include "simulator/simulator_output.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace simulator {

// Reads what the sign shows from the port writes of a sketch running on the
// simulated Mega: the one rule for what a column shows, for the simulator
// program and the tests alike. Port C selects the column; the column word's
// high and low bytes are on the data ports of a wiring (K and F, or B and
// A), whichever the sketch drives. It gathers whole frames (one pass of port
// C over the columns 0 to 63, each column showing the lit word the data
// ports held longest while it was selected, dark only when the column was
// dark more than ten times as long as it was lit) and, if asked, how long
// each LED was lit over display periods. Running the board and writing
// anything out are its callers'.
class SignReader : public SimulatedMega::PortListener {
public:
    using Frame = SimulatorOutput::Frame;
    using Light = SimulatorOutput::Light;
    using Wiring = SimulatorOutput::Wiring;

    // The ports to watch for it.
    static constexpr const char* kPorts = "CKFBA";

    // Called for every frame, as soon as its last column ends.
    void onFrame(std::function<void(const Frame&)> handler) { m_onFrame = std::move(handler); }
    // Measures brightness over periods of about this many cycles and calls
    // the handler when the picture differs from the last one it was given.
    // A period ends with the first frame that ends after it is due, so that
    // every period holds whole frames and a steady picture reads the same
    // each time; with no frames it ends at four times its length.
    void onLight(std::uint64_t periodCycles, std::function<void(const Light&)> handler);

    void portWritten(std::uint64_t cycle, char port, std::uint8_t value) override;
    // The board has run up to this cycle with no write since the last one.
    void advance(std::uint64_t cycle);

    std::uint64_t frames() const { return m_frames; }
    // The data ports the sketch has written, once it has written one.
    std::optional<Wiring> wiring() const;

private:
    // A word held during the column now selected, and for how long.
    struct Held {
        std::uint16_t word;
        std::uint64_t cycles;
    };
    static constexpr std::size_t kHeldWords = 8;

    void hold(std::uint64_t cycle);
    void endColumn(std::uint64_t cycle);
    void endPeriod(std::uint64_t cycle);
    std::uint16_t word() const;

    std::function<void(const Frame&)> m_onFrame;
    std::function<void(const Light&)> m_onLight;
    std::uint64_t m_periodCycles = 0;

    // The last byte written to each data port, and whether the sketch has
    // written the ports of each wiring, in the order of generation::PortWiring.
    struct Pair {
        generation::DataPorts ports;
        std::uint8_t high = 0;
        std::uint8_t low = 0;
        bool driven = false;
    };
    std::array<Pair, 2> m_pairs{Pair{generation::dataPorts(generation::PortWiring::PortsKF)},
                                Pair{generation::dataPorts(generation::PortWiring::PortsBA)}};
    std::uint16_t m_word = 0;

    int m_column = -1;       // selected on port C, or -1 for none
    std::uint64_t m_since = 0;
    std::array<Held, kHeldWords> m_held{};
    std::size_t m_heldCount = 0;

    Frame m_frame;
    int m_nextColumn = -1;   // the column that continues the frame, -1 while waiting for column 0
    std::uint64_t m_frames = 0;

    std::array<std::uint64_t, SimulatorOutput::kColumns * SimulatorOutput::kRows> m_litCycles{};
    std::uint64_t m_periodStart = 0;
    std::optional<Light> m_shownLight;
};

} // namespace simulator
