#include "generation/picture_marks.h"

#include <algorithm>
#include <stdexcept>
#include <string>

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

std::pair<std::span<const Picture>, std::span<const Picture>>
PictureMarks::deal(std::u16string_view title, std::u16string_view message, std::span<const Picture> pictures)
{
    const std::size_t titleMarks = count(title);
    requireOnePerMark(titleMarks + count(message), pictures.size());
    return {pictures.first(titleMarks), pictures.subspan(titleMarks)};
}

} // namespace generation
