#pragma once

#include "generation/board_timing.h"
#include "simulator/sign_reader.h"
#include "simulator/simulated_mega.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tests {

// Every frame a sketch on a simulated Mega shows, read from the ports it is
// told to watch by the SignReader the simulator program uses, so that the
// tests see the sign by the product's own rule. Running the board is the
// test's.
class RecordedSign {
public:
    using Frame = simulator::SimulatorOutput::Frame;
    using Words = simulator::SimulatorOutput::Words;

    explicit RecordedSign(simulator::SimulatedMega& mega, const std::string& ports = simulator::SignReader::kPorts)
    {
        m_reader.onFrame([this](const Frame& frame) { m_frames.push_back(frame); });
        mega.watchPorts(ports, m_reader);
    }

    const std::vector<Frame>& frames() const { return m_frames; }

    // The frames that began at this cycle or later.
    std::vector<Frame> framesFrom(std::uint64_t cycle) const
    {
        std::vector<Frame> found;
        for (const Frame& frame : m_frames) {
            if (startCycle(frame) >= double(cycle)) {
                found.push_back(frame);
            }
        }
        return found;
    }

    // Whether any of the frames from this cycle on showed these words.
    bool showed(const Words& words, std::uint64_t fromCycle) const
    {
        for (const Frame& frame : framesFrom(fromCycle)) {
            if (frame.words == words) {
                return true;
            }
        }
        return false;
    }

    static double startCycle(const Frame& frame)
    {
        return double(frame.microseconds) * generation::BoardTiming::kCyclesPerMicrosecond;
    }

private:
    simulator::SignReader m_reader;
    std::vector<Frame> m_frames;
};

} // namespace tests
