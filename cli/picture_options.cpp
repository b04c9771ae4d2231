#include "cli/picture_options.h"

#include "cli/usage_error.h"
#include "generation/picture_marks.h"
#include "generation/sketch_error.h"
#include "platform/picture_file.h"
#include "platform/text_conversion.h"

namespace cli {

using generation::PictureMarks;

std::vector<generation::Picture> PictureOptions::read(const QStringList& files, const QString& title,
                                                     const QString& message)
{
    const auto count = static_cast<std::size_t>(files.size());
    const std::u16string titleText = platform::toU16(title);
    const std::u16string messageText = platform::toU16(message);
    const std::size_t marks = PictureMarks::count(titleText) + PictureMarks::count(messageText);
    if (const auto place = PictureMarks::markWithoutPicture(titleText, messageText, count)) {
        throw UsageError("picture mark " + std::to_string(place->number) + " of the "
                         + (place->inTitle ? "title" : "message")
                         + " (U+FFFC) has no picture: give one --picture for each mark, the title's first");
    }
    if (count > marks) {
        throw UsageError(QStringLiteral("--picture %1 has no mark: there are more pictures than picture marks "
                                        "(U+FFFC) in the title and the message")
                             .arg(files.at(static_cast<qsizetype>(marks)))
                             .toStdString());
    }
    std::vector<generation::Picture> pictures;
    pictures.reserve(count);
    for (const QString& file : files) {
        try {
            pictures.push_back(platform::PictureFile::read(file));
        } catch (const generation::SketchError& error) {
            // A file that is missing, closed to us or no picture the sign
            // takes is the call's mistake, as a message file that cannot be
            // opened is; a read that fails part-way is not.
            if (error.number() == generation::SketchError::kInvalidPicture
                || error.number() == generation::SketchError::kPathNotFound
                || error.number() == generation::SketchError::kPathAccess) {
                throw UsageError(error.what());
            }
            throw;
        }
    }
    return pictures;
}

} // namespace cli
