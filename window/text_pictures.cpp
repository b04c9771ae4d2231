#include "window/text_pictures.h"

#include "generation/picture_marks.h"
#include "generation/sketch_error.h"

#include <memory>
#include <stdexcept>
#include <utility>

namespace window {

void TextPictures::changed(Box box, const QString& text, int cursor, BoxPictures::Change change)
{
    kept(box).changed(text, cursor, change, m_copied ? &*m_copied : nullptr);
    emit marksChanged(box);
}

void TextPictures::copied(Box box, qsizetype from, qsizetype length)
{
    m_copied = kept(box).run(from, length);
}

void TextPictures::attach(Box box, std::size_t mark, generation::Picture picture)
{
    kept(box).attach(mark, std::make_shared<const generation::Picture>(std::move(picture)));
    emit marksChanged(box);
}

std::vector<generation::Picture> TextPictures::forBuilders(const QString& title, const QString& message) const
{
    std::vector<generation::Picture> pictures;
    for (const Box box : {Box::Title, Box::Message}) {
        const QString& text = box == Box::Title ? title : message;
        if (!text.contains(QChar(generation::PictureMarks::kMark))) {
            continue;
        }
        const BoxPictures& kept = of(box);
        // The window tells every change of a box as it happens, so this
        // never fails; were a change missed, no picture would go to the
        // wrong mark.
        if (kept.text() != text) {
            throw std::logic_error("the pictures kept are not those of the text's marks");
        }
        std::size_t number = 0;
        for (const BoxPictures::Shared& picture : kept.pictures()) {
            ++number;
            if (!picture) {
                throw generation::SketchError::markWithoutPicture({box == Box::Title, number});
            }
            pictures.push_back(*picture);
        }
    }
    return pictures;
}

} // namespace window
