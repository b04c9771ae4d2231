#include "generation/sign_animation.h"

#include <cmath>

namespace generation {

namespace {
constexpr std::size_t kBlinkFrames = SignAnimation::kBlinks * (SignAnimation::kLitFrames + SignAnimation::kDarkFrames);
constexpr std::size_t kRollFramesTotal = SignAnimation::kRollSteps * SignAnimation::kRollFrames;
constexpr std::size_t kBlinkStepFrames = SignAnimation::kLitFrames + SignAnimation::kDarkFrames;
}

SignAnimation::SignAnimation(const std::vector<double>& titleWords, const std::vector<double>& messageWords,
                             std::size_t columnCount, const BoardTiming& timing)
    : m_columnCount(columnCount)
    , m_timing(timing)
{
    for (std::size_t i = 0; i < m_title.size() && i < titleWords.size(); ++i) {
        m_title[i] = boardValue(titleWords[i]);
    }
    m_message.assign(kColumns, 0);
    m_message.reserve(kColumns + messageWords.size());
    for (double word : messageWords) {
        m_message.push_back(boardValue(word));
    }
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
    return kBlinkFrames + kRollFramesTotal + (m_columnCount + 1) * kMarqueeFrames;
}

double SignAnimation::loopMicroseconds() const
{
    const BoardTiming& t = m_timing;
    const double blinks = kBlinks * (t.blinkStep + kLitFrames * t.litFrame + kDarkFrames * t.darkFrame);
    const double roll = kRollSteps * (t.rollStep + kRollFrames * t.rollFrame);
    const double marquee = double(m_columnCount + 1) * (t.marqueeStep + kMarqueeFrames * t.marqueeFrame);
    return (blinks + roll + marquee + t.loopReturn) / BoardTiming::kCyclesPerMicrosecond;
}

double SignAnimation::frameStartMicroseconds(std::size_t index) const
{
    // Each step first fills a[], then shows its frames.
    const BoardTiming& t = m_timing;
    double cycles = 0;
    if (index < kBlinkFrames) {
        const std::size_t step = index / kBlinkStepFrames;
        const std::size_t within = index % kBlinkStepFrames;
        cycles = double(step) * (t.blinkStep + kLitFrames * t.litFrame + kDarkFrames * t.darkFrame) + t.blinkStep;
        cycles += within < std::size_t(kLitFrames)
                      ? double(within) * t.litFrame
                      : kLitFrames * t.litFrame + double(within - kLitFrames) * t.darkFrame;
        return cycles / BoardTiming::kCyclesPerMicrosecond;
    }
    cycles = kBlinks * (t.blinkStep + kLitFrames * t.litFrame + kDarkFrames * t.darkFrame);
    index -= kBlinkFrames;
    if (index < kRollFramesTotal) {
        const std::size_t step = index / kRollFrames;
        cycles += double(step + 1) * t.rollStep + double(index) * t.rollFrame;
        return cycles / BoardTiming::kCyclesPerMicrosecond;
    }
    cycles += kRollSteps * (t.rollStep + kRollFrames * t.rollFrame);
    index -= kRollFramesTotal;
    const std::size_t step = index / kMarqueeFrames;
    cycles += double(step + 1) * t.marqueeStep + double(index) * t.marqueeFrame;
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

SignAnimation::Frame SignAnimation::frame(std::size_t index) const
{
    index %= frameCount();
    Frame shown{};
    if (index < kBlinkFrames) {
        if (index % (kLitFrames + kDarkFrames) < static_cast<std::size_t>(kLitFrames)) {
            shown = m_title;
        }
        return shown;
    }
    index -= kBlinkFrames;
    if (index < kRollFramesTotal) {
        // unsigned int is 16 bits on the board: bits shifted past 15 are lost.
        const auto step = static_cast<unsigned>(index / kRollFrames);
        for (std::size_t j = 0; j < shown.size(); ++j) {
            shown[j] = static_cast<std::uint16_t>((unsigned{m_title[j]} << (15 - step)) & 0xFFFFu);
        }
        return shown;
    }
    index -= kRollFramesTotal;
    const std::size_t step = index / kMarqueeFrames;
    for (std::size_t j = 0; j < shown.size(); ++j) {
        // Past the array's end the board reads whatever memory follows;
        // the preview shows it dark.
        const std::size_t at = j + step;
        shown[j] = at < m_message.size() ? m_message[at] : 0;
    }
    return shown;
}

} // namespace generation
