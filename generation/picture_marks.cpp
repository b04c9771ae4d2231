#include "generation/picture_marks.h"

#include "generation/sketch_error.h"

#include <algorithm>
#include <stdexcept>

namespace generation {

std::size_t PictureMarks::count(std::u16string_view text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), kMark));
}

void PictureMarks::requireOnePerMark(std::size_t marks, std::size_t pictures)
{
    if (pictures != marks) {
        throw std::invalid_argument(std::to_string(pictures) + " pictures for " + std::to_string(marks)
                                    + " picture marks");
    }
}

std::string PictureMarks::markWithoutPicture(std::u16string_view title, std::u16string_view message,
                                             std::size_t pictures)
{
    const std::size_t titleMarks = count(title);
    if (pictures < titleMarks) {
        return "picture mark " + std::to_string(pictures + 1) + " of the title";
    }
    if (pictures - titleMarks < count(message)) {
        return "picture mark " + std::to_string(pictures - titleMarks + 1) + " of the message";
    }
    return {};
}

std::pair<std::span<const Picture>, std::span<const Picture>>
PictureMarks::deal(std::u16string_view title, std::u16string_view message, std::span<const Picture> pictures)
{
    const std::size_t titleMarks = count(title);
    const std::size_t marks = titleMarks + count(message);
    if (pictures.size() < marks) {
        throw SketchError(SketchError::kInvalidPicture,
                          "Invalid picture: " + markWithoutPicture(title, message, pictures.size())
                              + " (U+FFFC) has no picture");
    }
    if (pictures.size() > marks) {
        throw SketchError(SketchError::kInvalidPicture,
                          "Invalid picture: " + std::to_string(pictures.size()) + " pictures for "
                              + std::to_string(marks) + " picture marks (U+FFFC)");
    }
    return {pictures.first(titleMarks), pictures.subspan(titleMarks)};
}

} // namespace generation
