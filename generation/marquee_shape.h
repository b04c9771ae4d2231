#pragma once

namespace generation {

// The numbers that shape what the sign shows: its size, how often and how
// long the title blinks, how it rolls up, how long each marquee step stays
// and how long a column is lit. The sketch text is written from them and the
// preview plays by them, so the two cannot disagree. It holds no words and
// no text.
//
// The frames per marquee step are the scroll speed: kMarqueeFrames unless
// the user chooses another number from kMinStepFrames to kMaxStepFrames.
struct MarqueeShape {
    static constexpr int kColumns = 64;
    static constexpr int kRows = 16;
    static constexpr int kBlinks = 3;
    static constexpr int kLitFrames = 101;   // frames the title shows in one blink
    static constexpr int kDarkFrames = 51;   // frames the sign is dark in one blink
    static constexpr int kRollSteps = 16;    // one row per step
    static constexpr int kRollFrames = 11;   // frames per roll-up step
    static constexpr int kMarqueeFrames = 6; // frames per one-column marquee step
    static constexpr int kMinStepFrames = 1;
    static constexpr int kMaxStepFrames = 30; // about 3 s a Chinese character
    static constexpr int kLitMicroseconds = 100; // each column, every frame
    // A Chinese character's width at the canvas's 16-pixel em, the unit in
    // which the window and the messages say how long a message is.
    static constexpr int kCharacterColumns = 16;
};

} // namespace generation
