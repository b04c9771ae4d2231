#include "generation/sign_animation.h"

#include "generation/wiring_test_sketch.h"
#include "generation/wiring_test_timing.h"

#include <cmath>
#include <stdexcept>

namespace generation {

namespace {
constexpr std::uint16_t kAllRows = 0xFFFF;
}

SignAnimation::SignAnimation(const std::vector<double>& titleWords, const std::vector<double>& messageWords,
                             std::size_t columnCount, const BoardTiming& timing, int stepFrames)
{
    if (stepFrames < MarqueeShape::kMinStepFrames || stepFrames > MarqueeShape::kMaxStepFrames) {
        throw std::out_of_range("frames per marquee step out of range");
    }
    for (std::size_t i = 0; i < m_title.size() && i < titleWords.size(); ++i) {
        m_title[i] = boardValue(titleWords[i]);
    }
    m_message.assign(kColumns, 0);
    m_message.reserve(kColumns + messageWords.size());
    for (double word : messageWords) {
        m_message.push_back(boardValue(word));
    }
    // Each blink fills a[] once, then shows it lit and then dark.
    for (int blink = 0; blink < kBlinks; ++blink) {
        addPhase({Kind::Title, 1, kLitFrames, timing.blinkStep, timing.litFrame});
        addPhase({Kind::Dark, 1, kDarkFrames, 0, timing.darkFrame});
    }
    addPhase({Kind::Roll, kRollSteps, kRollFrames, timing.rollStep, timing.rollFrame});
    addPhase({Kind::Marquee, columnCount + 1, static_cast<std::size_t>(stepFrames), timing.marqueeStep,
              timing.marqueeFrame});
    m_loopCycles += timing.loopReturn;
}

SignAnimation SignAnimation::wiringTest(PortWiring wiring)
{
    using Part = WiringTestSketch::Part;
    const WiringTestTiming timing = WiringTestTiming::forWiring(wiring);
    const auto frames = [&](Part part) { return static_cast<std::size_t>(WiringTestSketch::frames(part, wiring)); };
    SignAnimation test;
    test.m_wiringTest = true;
    test.m_wiring = wiring;
    test.addPhase({Kind::Row, kRows, frames(Part::Row), timing.rowStep, timing.frame});
    test.addPhase({Kind::Column, kColumns, frames(Part::Column), timing.columnStep, timing.frame});
    test.addPhase({Kind::Everything, 1, frames(Part::Everything), timing.everythingStep, timing.frame});
    test.m_loopCycles += timing.loopReturn;
    return test;
}

void SignAnimation::addPhase(Phase phase)
{
    m_phases.push_back(phase);
    m_frameCount += phase.steps * phase.framesPerStep;
    m_loopCycles += double(phase.steps) * (phase.stepCycles + double(phase.framesPerStep) * phase.frameCycles);
}

const SignAnimation::Phase& SignAnimation::phaseOf(std::size_t& index) const
{
    for (const Phase& phase : m_phases) {
        const std::size_t frames = phase.steps * phase.framesPerStep;
        if (index < frames || &phase == &m_phases.back()) {
            return phase;
        }
        index -= frames;
    }
    return m_phases.back();
}

std::uint16_t SignAnimation::boardValue(double word)
{
    if (!(word > 0)) {
        return 0;
    }
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(std::trunc(word)) & 0xFFFFu);
}

bool SignAnimation::lit(const Frame& frame, int column, int row)
{
    return (frame[static_cast<std::size_t>(column)] >> row) & 1u;
}

std::size_t SignAnimation::frameCount() const
{
    return m_frameCount;
}

double SignAnimation::loopMicroseconds() const
{
    return m_loopCycles / BoardTiming::kCyclesPerMicrosecond;
}

double SignAnimation::frameStartMicroseconds(std::size_t index) const
{
    // Each step first fills a[], then shows its frames.
    double cycles = 0;
    for (const Phase& phase : m_phases) {
        const std::size_t frames = phase.steps * phase.framesPerStep;
        if (index < frames || &phase == &m_phases.back()) {
            const std::size_t step = index / phase.framesPerStep;
            cycles += double(step + 1) * phase.stepCycles + double(index) * phase.frameCycles;
            break;
        }
        cycles += double(phase.steps) * phase.stepCycles + double(frames) * phase.frameCycles;
        index -= frames;
    }
    return cycles / BoardTiming::kCyclesPerMicrosecond;
}

std::size_t SignAnimation::frameAtMicroseconds(double microseconds) const
{
    if (!(microseconds > 0)) {
        return 0;
    }
    const double within = std::fmod(microseconds, loopMicroseconds());
    // The last frame that has started; frame starts rise with the index.
    std::size_t low = 0;
    std::size_t high = frameCount();
    while (high - low > 1) {
        const std::size_t middle = low + (high - low) / 2;
        if (frameStartMicroseconds(middle) <= within) {
            low = middle;
        } else {
            high = middle;
        }
    }
    return low;
}

SignAnimation::Picture SignAnimation::picture(std::size_t index) const
{
    index %= frameCount();
    const Phase& phase = phaseOf(index);
    const int step = static_cast<int>(index / phase.framesPerStep);
    switch (phase.kind) {
    case Kind::Row:
        return {Part::Row, step};
    case Kind::Column:
        return {Part::Column, step};
    case Kind::Everything:
        return {Part::Everything, 0};
    case Kind::Title:
    case Kind::Dark:
    case Kind::Roll:
    case Kind::Marquee:
        break;
    }
    return {};
}

SignAnimation::Frame SignAnimation::frame(std::size_t index) const
{
    index %= frameCount();
    const Phase& phase = phaseOf(index);
    const std::size_t step = index / phase.framesPerStep;
    Frame shown{};
    switch (phase.kind) {
    case Kind::Title:
        shown = m_title;
        break;
    case Kind::Dark:
        break;
    case Kind::Roll:
        // unsigned int is 16 bits on the board: bits shifted past 15 are lost.
        for (std::size_t j = 0; j < shown.size(); ++j) {
            shown[j] = static_cast<std::uint16_t>((unsigned{m_title[j]} << (15 - step)) & 0xFFFFu);
        }
        break;
    case Kind::Marquee:
        for (std::size_t j = 0; j < shown.size(); ++j) {
            // Past the array's end the board reads whatever memory follows;
            // the preview shows it dark.
            const std::size_t at = j + step;
            shown[j] = at < m_message.size() ? m_message[at] : 0;
        }
        break;
    case Kind::Row:
        shown.fill(static_cast<std::uint16_t>(1u << step));
        break;
    case Kind::Column:
        shown[step] = kAllRows;
        break;
    case Kind::Everything:
        shown.fill(kAllRows);
        break;
    }
    return shown;
}

} // namespace generation
