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

std::optional<SketchError::MarkPlace> PictureMarks::markWithoutPicture(std::u16string_view title,
                                                                       std::u16string_view message,
                                                                       std::size_t pictures)
{
    const std::size_t titleMarks = count(title);
    if (pictures < titleMarks) {
        return SketchError::MarkPlace{true, pictures + 1};
    }
    if (pictures - titleMarks < count(message)) {
        return SketchError::MarkPlace{false, pictures - titleMarks + 1};
    }
    return std::nullopt;
}

std::pair<std::span<const Picture>, std::span<const Picture>>
PictureMarks::deal(std::u16string_view title, std::u16string_view message, std::span<const Picture> pictures)
{
    const std::size_t titleMarks = count(title);
    const std::size_t marks = titleMarks + count(message);
    if (const auto place = markWithoutPicture(title, message, pictures.size())) {
        throw SketchError::markWithoutPicture(*place);
    }
    if (pictures.size() > marks) {
        throw SketchError(SketchError::kInvalidPicture,
                          "Invalid picture: " + std::to_string(pictures.size()) + " pictures for "
                              + std::to_string(marks) + " picture marks (U+FFFC)");
    }
    return {pictures.first(titleMarks), pictures.subspan(titleMarks)};
}

} // namespace generation
