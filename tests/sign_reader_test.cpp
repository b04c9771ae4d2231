#include "simulator/sign_reader.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using generation::PortWiring;
using simulator::SignReader;
using simulator::SimulatorOutput;
using Words = SimulatorOutput::Words;

// Writes the ports as the sketches do, at made-up cycles: port C selects a
// column, the data ports take its word, it is lit for a while, then the data
// ports go dark until the next column.
class Scan {
public:
    explicit Scan(SignReader& reader, PortWiring wiring = PortWiring::PortsKF)
        : m_reader(reader), m_ports(generation::dataPorts(wiring))
    {
    }

    void column(int column, std::uint16_t word, std::uint64_t lit = 1600, std::uint64_t darkAfter = 40)
    {
        write('C', column, 2);
        write(m_ports.high, word >> 8, 2);
        write(m_ports.low, word & 0xFF, lit);
        write(m_ports.low, 0, 2);
        write(m_ports.high, 0, darkAfter);
    }

    void frame(const Words& words)
    {
        for (int c = 0; c < SimulatorOutput::kColumns; ++c) {
            column(c, words[std::size_t(c)]);
        }
    }

    // Selects a column, which ends the one before.
    void select(int column) { write('C', column, 2); }

    void write(char port, int value, std::uint64_t cyclesAfter)
    {
        m_reader.portWritten(m_cycle, port, static_cast<std::uint8_t>(value));
        m_cycle += cyclesAfter;
    }

    std::uint64_t cycle() const { return m_cycle; }

private:
    SignReader& m_reader;
    generation::DataPorts m_ports;
    std::uint64_t m_cycle = 16000;
};

Words countingWords()
{
    Words words{};
    for (std::size_t c = 0; c < words.size(); ++c) {
        words[c] = static_cast<std::uint16_t>(0x0101 * c + 1);
    }
    return words;
}

// A frame is one pass of port C over the columns 0 to 63 in order, dated
// from the selection of column 0; a pass that starts elsewhere or skips a
// column is no frame.
TEST(SignReaderTest, AFrameIsOnePassOverTheColumnsInOrder)
{
    SignReader reader;
    std::vector<SimulatorOutput::Frame> frames;
    reader.onFrame([&frames](const SimulatorOutput::Frame& frame) { frames.push_back(frame); });
    Scan scan(reader);
    for (int c = 10; c < SimulatorOutput::kColumns; ++c) {
        scan.column(c, 0xFFFF);
    }
    for (int c = 0; c < SimulatorOutput::kColumns; ++c) {
        if (c != 31) {
            scan.column(c, 0xFFFF);
        }
    }
    const std::uint64_t start = scan.cycle();
    scan.frame(countingWords());
    scan.select(0);

    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].words, countingWords());
    EXPECT_EQ(frames[0].microseconds, start / 16);
    EXPECT_EQ(reader.frames(), 1u);
    EXPECT_EQ(reader.wiring(), (SimulatorOutput::Wiring{PortWiring::PortsKF, false}));
}

// A column shows the lit word held longest while it was selected: a word
// from the column before that lingers a few cycles is a ghost, and the work
// of a marquee step after the last column, dark but shorter than ten times
// the lit time, does not darken it. Only a column dark ten times as long as
// it was lit shows dark.
TEST(SignReaderTest, AColumnShowsItsLitWordUnlessDarkTenTimesAsLong)
{
    SignReader reader;
    std::vector<SimulatorOutput::Frame> frames;
    reader.onFrame([&frames](const SimulatorOutput::Frame& frame) { frames.push_back(frame); });
    Scan scan(reader);
    Words words = countingWords();
    scan.column(0, words[0]);
    // Column 1: the ghost of column 0's word, then its own.
    scan.select(1);
    scan.write('K', words[0] >> 8, 0);
    scan.write('F', words[0] & 0xFF, 4);
    scan.write('K', words[1] >> 8, 2);
    scan.write('F', words[1] & 0xFF, 1600);
    scan.write('F', 0, 0);
    scan.write('K', 0, 40);
    // Column 2 lit a moment in a long dark wait.
    scan.column(2, 0x1234, 100, 1100);
    for (int c = 3; c < 63; ++c) {
        scan.column(c, words[std::size_t(c)]);
    }
    // The step's work outlasts the lit column 63.
    scan.column(63, words[63], 1600, 5000);
    scan.select(0);

    words[2] = 0;
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].words, words);
}

// The data ports of either wiring carry the word; a sketch that drives both
// lights what either does.
TEST(SignReaderTest, TheWiringIsThePairOfPortsTheSketchWrites)
{
    SignReader reader;
    std::vector<SimulatorOutput::Frame> frames;
    reader.onFrame([&frames](const SimulatorOutput::Frame& frame) { frames.push_back(frame); });
    EXPECT_FALSE(reader.wiring().has_value());
    Scan ba(reader, PortWiring::PortsBA);
    ba.frame(countingWords());
    ba.select(0);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].words, countingWords());
    EXPECT_EQ(reader.wiring(), (SimulatorOutput::Wiring{PortWiring::PortsBA, false}));

    ba.write('K', 0x80, 2);
    EXPECT_EQ(reader.wiring(), (SimulatorOutput::Wiring{PortWiring::PortsKF, true}));
}

// Each LED's brightness over a period is the share of its column's time it
// was lit, in sixteen levels; the same picture is told only once.
TEST(SignReaderTest, LightIsTheShareOfTheColumnsTimeEachLedWasLitToldWhenItChanges)
{
    SignReader reader;
    std::vector<SimulatorOutput::Light> lights;
    reader.onLight(64 * 1646 * 3, [&lights](const SimulatorOutput::Light& light) { lights.push_back(light); });
    Scan scan(reader);
    Words words{};
    words.fill(0x0001);
    for (int frame = 0; frame < 9; ++frame) {
        scan.frame(words);
    }
    scan.select(0);

    ASSERT_EQ(lights.size(), 2u) << "the first period, then the steady picture once";
    for (int column = 0; column < SimulatorOutput::kColumns; ++column) {
        EXPECT_EQ(lights[1].levels[std::size_t(column * SimulatorOutput::kRows)], 15) << column;
        EXPECT_EQ(lights[1].levels[std::size_t(column * SimulatorOutput::kRows + 1)], 0) << column;
    }
}

} // namespace
