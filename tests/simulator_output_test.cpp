#include "simulator/simulator_output.h"
#include "file_bytes.h"

#include <gtest/gtest.h>

#include <variant>

namespace {

using simulator::SimulatorOutput;

// Feeds a captured run to the reader seven characters at a time, as a pipe
// may deliver it, and returns every event.
std::vector<SimulatorOutput::Event> readInPieces(const QString& file)
{
    const QString text = QString::fromUtf8(tests::readAll(QStringLiteral(LEDMARQUEE_SOURCE_DIR "/tests/captured/") + file));
    EXPECT_FALSE(text.isEmpty()) << file.toStdString();
    SimulatorOutput output;
    std::vector<SimulatorOutput::Event> events;
    for (qsizetype at = 0; at < text.size(); at += 7) {
        for (auto& event : output.read(QStringView(text).mid(at, 7))) {
            events.push_back(std::move(event));
        }
    }
    return events;
}

template <typename Kind>
std::vector<Kind> all(const std::vector<SimulatorOutput::Event>& events)
{
    std::vector<Kind> found;
    for (const auto& event : events) {
        if (const auto* kind = std::get_if<Kind>(&event)) {
            found.push_back(*kind);
        }
    }
    return found;
}

TEST(SimulatorOutputTest, ReadsCapturedRuns)
{
    // The default sketch for 0.7 simulated seconds: the title lit, then dark.
    const auto events = readInPieces(QStringLiteral("simulator_default_sketch.txt"));
    ASSERT_EQ(events.size(), 7u);
    EXPECT_EQ(std::get<SimulatorOutput::Wiring>(events.front()),
              (SimulatorOutput::Wiring{generation::PortWiring::PortsKF, false}));
    const auto frames = all<SimulatorOutput::Frame>(events);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].microseconds, 1787u);
    EXPECT_EQ(frames[1].microseconds, 662758u);
    EXPECT_EQ(frames[1].words, SimulatorOutput::Words{});
    // The light of the steady title (the first period also holds the
    // board's start-up) is the first frame's words, LED by LED.
    const auto lights = all<SimulatorOutput::Light>(events);
    ASSERT_EQ(lights.size(), 3u);
    for (int column = 0; column < SimulatorOutput::kColumns; ++column) {
        for (int row = 0; row < SimulatorOutput::kRows; ++row) {
            const bool lit = (frames[0].words[std::size_t(column)] >> row) & 1u;
            EXPECT_EQ(lights[1].levels[std::size_t(column * SimulatorOutput::kRows + row)], lit ? 15 : 0)
                << column << "," << row;
        }
    }
    EXPECT_EQ(std::get<SimulatorOutput::End>(events.back()).microseconds, 700000u);

    // A sketch that calls through a null pointer in loop().
    const auto crashed = readInPieces(QStringLiteral("simulator_null_call.txt"));
    const auto faults = all<SimulatorOutput::Fault>(crashed);
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_EQ(faults[0].kind, SimulatorOutput::Fault::Kind::Resets);
    EXPECT_EQ(faults[0].microseconds, 993u);
    EXPECT_EQ(faults[0].address, 0x28eu);
    EXPECT_EQ(faults[0].restarts, 75107);
}

// What the writers write the reader reads back; a line it cannot read is
// an event of its own that quotes it, so a simulator of another version is
// not taken for a silent one.
TEST(SimulatorOutputTest, ReadsWhatItWritesAndQuotesWhatItCannotRead)
{
    SimulatorOutput::Frame frame{123456789, {}};
    frame.words[0] = 0xffff;
    frame.words[63] = 0x0102;
    SimulatorOutput::Fault fault{SimulatorOutput::Fault::Kind::Asleep, 42, 0x3fffe, 0};
    const SimulatorOutput::Wiring both{generation::PortWiring::PortsKF, true};
    SimulatorOutput output;
    const std::string text = "frame 12 00zz\n" + SimulatorOutput::frameLine(frame) + SimulatorOutput::darkLine(500000)
                             + SimulatorOutput::faultLine(fault) + SimulatorOutput::wiringLine(both) + "end 9";
    const auto events = output.read(QString::fromStdString(text));
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(std::get<SimulatorOutput::Unreadable>(events[0]).line, QStringLiteral("frame 12 00zz"));
    EXPECT_EQ(std::get<SimulatorOutput::Frame>(events[1]).words, frame.words);
    EXPECT_EQ(std::get<SimulatorOutput::Frame>(events[1]).microseconds, frame.microseconds);
    EXPECT_EQ(std::get<SimulatorOutput::Dark>(events[2]).microseconds, 500000u);
    EXPECT_EQ(std::get<SimulatorOutput::Fault>(events[3]).address, fault.address);
    EXPECT_EQ(std::get<SimulatorOutput::Wiring>(events[4]), both);
    // The end line is whole only with its line end.
    EXPECT_EQ(std::get<SimulatorOutput::End>(output.read(u"\n").front()).microseconds, 9u);
}

} // namespace
