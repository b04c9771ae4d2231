#pragma once

#include "generation/picture.h"

#include <cstddef>
#include <span>
#include <string_view>
#include <utility>

namespace generation {

// The mark that holds a picture's place in a title or a message: U+FFFC
// OBJECT REPLACEMENT CHARACTER, the character rich-text editors put where an
// embedded object stands. Each mark stands for the next picture of one list,
// the title's marks first, then the message's. It counts marks and deals the
// list out; drawing is the sampler's business.
class PictureMarks {
public:
    static constexpr char16_t kMark = u'\uFFFC';

    static std::size_t count(std::u16string_view text);
    // Throws std::invalid_argument unless there are as many pictures as marks.
    static void requireOnePerMark(std::size_t marks, std::size_t pictures);
    // The pictures of the title's marks and those of the message's, taken in
    // order from the list of both. Throws std::invalid_argument unless there
    // is exactly one picture for each mark: whoever collects the pictures
    // keeps them in step with the marks and says so in its own words.
    static std::pair<std::span<const Picture>, std::span<const Picture>>
    deal(std::u16string_view title, std::u16string_view message, std::span<const Picture> pictures);
};

} // namespace generation
