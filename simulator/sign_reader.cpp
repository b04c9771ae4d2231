#include "simulator/sign_reader.h"

#include "generation/board_timing.h"

#include <algorithm>

namespace simulator {

namespace {

constexpr int kColumns = SimulatorOutput::kColumns;
constexpr int kRows = SimulatorOutput::kRows;
constexpr auto kCyclesPerMicrosecond = static_cast<std::uint64_t>(generation::BoardTiming::kCyclesPerMicrosecond);

} // namespace

void SignReader::onLight(std::uint64_t periodCycles, std::function<void(const Light&)> handler)
{
    m_periodCycles = periodCycles;
    m_onLight = std::move(handler);
}

std::optional<SignReader::Wiring> SignReader::wiring() const
{
    const Pair& kf = m_pairs[0];
    const Pair& ba = m_pairs[1];
    if (!kf.driven && !ba.driven) {
        return std::nullopt;
    }
    return Wiring{kf.driven ? generation::PortWiring::PortsKF : generation::PortWiring::PortsBA, kf.driven && ba.driven};
}

std::uint16_t SignReader::word() const
{
    // A sketch drives one pair; one that drives both lights what either does.
    std::uint16_t word = 0;
    for (const Pair& pair : m_pairs) {
        if (pair.driven) {
            word |= static_cast<std::uint16_t>(pair.high << 8 | pair.low);
        }
    }
    return word;
}

void SignReader::portWritten(std::uint64_t cycle, char port, std::uint8_t value)
{
    hold(cycle);
    if (port == 'C') {
        endColumn(cycle);
        m_column = value < kColumns ? value : -1;
        if (m_column == 0) {
            m_nextColumn = 0;
            m_frame.microseconds = cycle / kCyclesPerMicrosecond;
        }
        return;
    }
    for (Pair& pair : m_pairs) {
        if (port == pair.ports.high || port == pair.ports.low) {
            (port == pair.ports.high ? pair.high : pair.low) = value;
            pair.driven = true;
            m_word = word();
        }
    }
}

void SignReader::advance(std::uint64_t cycle)
{
    hold(cycle);
    // A sketch that has stopped scanning still has its light measured.
    if (m_onLight && cycle - m_periodStart >= 4 * m_periodCycles) {
        endPeriod(cycle);
    }
}

void SignReader::hold(std::uint64_t cycle)
{
    if (m_column >= 0 && cycle > m_since) {
        std::size_t slot = 0;
        while (slot < m_heldCount && m_held[slot].word != m_word) {
            ++slot;
        }
        if (slot == m_heldCount) {
            // Eight different words in one column are past counting; the
            // rest share the last place.
            if (m_heldCount < kHeldWords) {
                m_held[m_heldCount++] = {m_word, 0};
            } else {
                slot = kHeldWords - 1;
            }
        }
        m_held[slot].cycles += cycle - m_since;
    }
    m_since = cycle;
}

void SignReader::endColumn(std::uint64_t cycle)
{
    if (m_column < 0) {
        return;
    }
    // The word shown is the one held longest, unless it is only a moment
    // against a long dark wait: the data ports changing a few cycles after
    // port C are a ghost of the column before, while the sketch's own work
    // after its last column is a dark pause after a lit column.
    const Held* longest = nullptr;
    std::uint64_t dark = 0;
    for (std::size_t i = 0; i < m_heldCount; ++i) {
        const Held& held = m_held[i];
        if (held.word == 0) {
            dark += held.cycles;
            continue;
        }
        if (longest == nullptr || held.cycles > longest->cycles) {
            longest = &held;
        }
        if (m_onLight) {
            auto* lit = &m_litCycles[static_cast<std::size_t>(m_column * kRows)];
            for (int row = 0; row < kRows; ++row) {
                if ((held.word >> row) & 1u) {
                    lit[row] += held.cycles;
                }
            }
        }
    }
    const std::uint16_t shown = longest != nullptr && longest->cycles * 10 >= dark ? longest->word : 0;
    m_heldCount = 0;

    if (m_column != m_nextColumn) {
        m_nextColumn = -1;
        return;
    }
    m_frame.words[static_cast<std::size_t>(m_column)] = shown;
    if (++m_nextColumn < kColumns) {
        return;
    }
    m_nextColumn = -1;
    ++m_frames;
    if (m_onFrame) {
        m_onFrame(m_frame);
    }
    if (m_onLight && cycle - m_periodStart >= m_periodCycles) {
        endPeriod(cycle);
    }
}

void SignReader::endPeriod(std::uint64_t cycle)
{
    const std::uint64_t period = cycle - m_periodStart;
    if (period == 0) {
        return;
    }
    // A column lit all of its 1/64 share of the period is full brightness,
    // and each level is a sixteenth of that. The top level takes the last
    // sixteenth whole: an LED of a steady picture is lit a little more or
    // less from one period to the next (the core's timer interrupt lands
    // in some columns and not others), and it must not flicker between two
    // levels for that.
    Light light;
    light.microseconds = cycle / kCyclesPerMicrosecond;
    constexpr std::uint64_t levels = SimulatorOutput::kLevels;
    for (std::size_t i = 0; i < m_litCycles.size(); ++i) {
        const std::uint64_t level = m_litCycles[i] * kColumns * levels / period;
        light.levels[i] = static_cast<std::uint8_t>(std::min(level, levels - 1));
    }
    m_litCycles.fill(0);
    m_periodStart = cycle;
    if (!m_shownLight || m_shownLight->levels != light.levels) {
        m_shownLight = light;
        m_onLight(light);
    }
}

} // namespace simulator
