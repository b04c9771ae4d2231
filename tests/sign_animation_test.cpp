#include "generation/sign_animation.h"

#include <gtest/gtest.h>

namespace {

using generation::SignAnimation;

constexpr std::size_t kBlinkEnd = 3 * (101 + 51); // 456
constexpr std::size_t kRollEnd = kBlinkEnd + 16 * 11; // 632

std::vector<double> rampTitle()
{
    std::vector<double> title(64);
    for (std::size_t i = 0; i < title.size(); ++i) {
        title[i] = double(i + 1);
    }
    title[0] = 0x8001;  // top and bottom bit, to watch the roll drop bits
    title[1] = 16385.5; // a fraction the board's compiler truncates
    return title;
}

TEST(SignAnimationTest, TitleBlinksThreeTimesLitThenDark)
{
    const SignAnimation animation(rampTitle(), {}, 16);
    SignAnimation::Frame title{};
    for (std::size_t i = 0; i < 64; ++i) {
        title[i] = static_cast<std::uint16_t>(i + 1);
    }
    title[0] = 0x8001;
    title[1] = 16385;
    const SignAnimation::Frame dark{};
    for (std::size_t blink = 0; blink < 3; ++blink) {
        const std::size_t start = blink * 152;
        for (std::size_t f = start; f < start + 101; ++f) {
            ASSERT_EQ(animation.frame(f), title) << "frame " << f;
        }
        for (std::size_t f = start + 101; f < start + 152; ++f) {
            ASSERT_EQ(animation.frame(f), dark) << "frame " << f;
        }
    }
}

TEST(SignAnimationTest, RollUpShiftsTheTitleWithinSixteenBits)
{
    const SignAnimation animation(rampTitle(), {}, 16);
    for (unsigned k = 0; k < 16; ++k) {
        for (std::size_t r = 0; r < 11; ++r) {
            const auto frame = animation.frame(kBlinkEnd + k * 11 + r);
            ASSERT_EQ(frame[0], static_cast<std::uint16_t>((0x8001u << (15 - k)) & 0xFFFF)) << "step " << k;
            ASSERT_EQ(frame[1], static_cast<std::uint16_t>((16385u << (15 - k)) & 0xFFFF)) << "step " << k;
            ASSERT_EQ(frame[63], static_cast<std::uint16_t>((64u << (15 - k)) & 0xFFFF)) << "step " << k;
        }
    }
    EXPECT_EQ(animation.frame(kBlinkEnd)[0], 0x8000);      // only the top row shows, on the bottom LED
    EXPECT_EQ(animation.frame(kRollEnd - 1)[0], 0x8001);   // in place at the last step
}

TEST(SignAnimationTest, MarqueeSlidesOneColumnEverySixFrames)
{
    std::vector<double> message(200);
    for (std::size_t i = 0; i < message.size(); ++i) {
        message[i] = double(1000 + i) + 0.5;
    }
    const SignAnimation animation({}, message, message.size());
    // c[] is 64 blanks then the message; step k shows c[k .. k + 63].
    for (std::size_t k : {0u, 1u, 63u, 64u, 65u, 150u, 199u, 200u}) {
        for (std::size_t r = 0; r < 6; ++r) {
            const auto frame = animation.frame(kRollEnd + k * 6 + r);
            for (std::size_t j = 0; j < 64; ++j) {
                const std::size_t c = j + k;
                const std::uint16_t expected = c < 64 ? 0 : static_cast<std::uint16_t>(1000 + (c - 64));
                ASSERT_EQ(frame[j], expected) << "step " << k << " column " << j;
            }
        }
    }
}

TEST(SignAnimationTest, LoopWrapsToTheStartAfterTheLastMarqueeStep)
{
    const SignAnimation animation(rampTitle(), std::vector<double>(16, 7.0), 16);
    EXPECT_EQ(animation.frameCount(), kRollEnd + 17 * 6);
    EXPECT_EQ(animation.frame(animation.frameCount()), animation.frame(0));
    EXPECT_EQ(animation.frame(animation.frameCount() + kBlinkEnd + 3), animation.frame(kBlinkEnd + 3));
}

TEST(SignAnimationTest, FramesLastWhatTheBoardTimingSays)
{
    // Steps and frames of each phase in cycles, 16 to the microsecond.
    const generation::BoardTiming timing{160, 1600, 800, 320, 3200, 480, 4800, 16};
    const SignAnimation animation({}, {}, 16, timing);
    const double blinks = 3 * (10 + 101 * 100 + 51 * 50);
    const double roll = 16 * (20 + 11 * 200);
    EXPECT_DOUBLE_EQ(animation.loopMicroseconds(), blinks + roll + 17 * (30 + 6 * 300) + 1);
    EXPECT_DOUBLE_EQ(animation.frameStartMicroseconds(0), 10);
    EXPECT_DOUBLE_EQ(animation.frameStartMicroseconds(102), 10 + 101 * 100 + 50);
    EXPECT_DOUBLE_EQ(animation.frameStartMicroseconds(152), 10 + 101 * 100 + 51 * 50 + 10);
    EXPECT_DOUBLE_EQ(animation.frameStartMicroseconds(kBlinkEnd + 12), blinks + 2 * 20 + 12 * 200);
    EXPECT_DOUBLE_EQ(animation.frameStartMicroseconds(kRollEnd + 7), blinks + roll + 2 * 30 + 7 * 300);
    for (std::size_t index : {0u, 101u, 151u, 152u, 455u, 456u, 631u, 632u, 733u}) {
        EXPECT_EQ(animation.frameAtMicroseconds(animation.frameStartMicroseconds(index)), index);
        EXPECT_EQ(animation.frameAtMicroseconds(animation.frameStartMicroseconds(index) - 0.5),
                  index == 0 ? 0 : index - 1);
    }
    // A second pass starts where the first began.
    EXPECT_EQ(animation.frameAtMicroseconds(animation.loopMicroseconds() + 10 + 150), 1u);
}

TEST(SignAnimationTest, BitZeroLightsTheTopRowAndWordsAreTruncated)
{
    SignAnimation::Frame frame{};
    frame[5] = 0x0001;
    frame[6] = 0x8000;
    EXPECT_TRUE(SignAnimation::lit(frame, 5, 0));
    EXPECT_FALSE(SignAnimation::lit(frame, 5, 1));
    EXPECT_TRUE(SignAnimation::lit(frame, 6, 15));
    EXPECT_EQ(SignAnimation::boardValue(32767.5), 32767);
    EXPECT_EQ(SignAnimation::boardValue(0.5), 0);
    EXPECT_EQ(SignAnimation::boardValue(65535), 65535);
}

} // namespace
