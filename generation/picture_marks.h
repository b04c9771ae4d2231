#pragma once

#include "generation/picture.h"
#include "generation/sketch_error.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
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
    // Where the first mark without a picture stands, when there are fewer
    // pictures than marks; none when every mark has one.
    static std::optional<SketchError::MarkPlace> markWithoutPicture(std::u16string_view title,
                                                                    std::u16string_view message, std::size_t pictures);
    // The pictures of the title's marks and those of the message's, taken in
    // order from the list of both. Throws SketchError (invalid picture),
    // naming the mark, unless there is exactly one picture for each mark.
    static std::pair<std::span<const Picture>, std::span<const Picture>>
    deal(std::u16string_view title, std::u16string_view message, std::span<const Picture> pictures);
};

} // namespace generation
