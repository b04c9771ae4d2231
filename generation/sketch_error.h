#pragma once

#include "generation/marquee_shape.h"

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

namespace generation {

// A failure to deliver a sketch or to take its input. It carries a number
// that says what kind of failure it is, an English description that names
// what failed (for the command line and logs), the path or thing that failed
// and, where the operating system gave one, its error code (errno), so each
// front end can word the failure in its own language. It travels up to the
// one place that shows it; nothing on the way catches it. A whole message
// too wide for the board also carries its width and the most the board
// holds, a picture too wide its width and the most taken, and a picture
// mark without a picture which mark it is, so no front end has to read
// those out of the English text; a failure met in reading a file the user
// gave says so, since its reasons read differently from a write's.
class SketchError : public std::runtime_error {
public:
    // The numbers follow the runtime error numbers long used by Windows
    // desktop tools, so a user searching for one finds the familiar meaning.
    // Each number stands for one kind of failure, whichever front end shows it.
    static constexpr int kOutOfMemory = 7;
    static constexpr int kInternal = 51;      // anything else that went wrong inside the tool
    static constexpr int kDeviceIo = 57;      // a read or write failed (I/O error, file too large)
    static constexpr int kDiskFull = 61;      // no space left on the file system or quota
    static constexpr int kPathAccess = 75;    // the path exists but cannot be used
    static constexpr int kPathNotFound = 76;
    static constexpr int kInvalidPicture = 481; // a file that is no picture, or a picture too wide to take
    static constexpr int kClipboard = 521;

    SketchError(int number, const std::string& description, int osError = 0, std::string subject = {})
        : std::runtime_error(description)
        , m_number(number)
        , m_osError(osError)
        , m_subject(std::move(subject))
    {
    }

    // A whole message this many columns wide, refused because the board's
    // flash holds at most mostColumns.
    static SketchError messageTooWide(std::size_t columns, std::size_t mostColumns)
    {
        SketchError error(kOutOfMemory,
                          "Out of memory: the message is " + std::to_string(columns)
                              + " columns wide; the board's flash holds at most " + std::to_string(mostColumns)
                              + " (about " + std::to_string(mostColumns / MarqueeShape::kCharacterColumns) + " Chinese characters)");
        error.m_messageColumns = columns;
        error.m_mostColumns = mostColumns;
        return error;
    }

    // A picture this many columns wide at the sign's 16 rows, read from
    // path, refused because pictures are taken up to mostColumns wide.
    static SketchError pictureTooWide(const std::string& description, std::string path, std::size_t columns,
                                      std::size_t mostColumns)
    {
        SketchError error(kInvalidPicture, description, 0, std::move(path));
        error.m_pictureColumns = columns;
        error.m_mostColumns = mostColumns;
        return error;
    }

    // Where a picture mark stands that has no picture: in the title or the
    // message, and which of that text's marks it is, from 1.
    struct MarkPlace {
        bool inTitle = true;
        std::size_t number = 0;
    };
    static SketchError markWithoutPicture(MarkPlace place)
    {
        SketchError error(kInvalidPicture, "Invalid picture: picture mark " + std::to_string(place.number) + " of the "
                                               + (place.inTitle ? "title" : "message") + " (U+FFFC) has no picture");
        error.m_markPlace = place;
        return error;
    }

    // The same failure, met in reading a file the user gave.
    SketchError inReading() const
    {
        SketchError error(*this);
        error.m_reading = true;
        return error;
    }

    int number() const { return m_number; }
    std::string description() const { return what(); }
    // The operating system's error code behind the failure, or 0 if none.
    int osError() const { return m_osError; }
    // What failed, as the user named it: a path (UTF-8), or empty.
    const std::string& subject() const { return m_subject; }
    // For a message too wide for the board: its width and the most the
    // board holds, in columns; both 0 for any other failure.
    std::size_t messageColumns() const { return m_messageColumns; }
    std::size_t mostColumns() const { return m_mostColumns; }
    // For a picture too wide: its width at 16 rows (the most taken is
    // mostColumns()); 0 for any other failure.
    std::size_t pictureColumns() const { return m_pictureColumns; }
    // For a picture mark without a picture: where it stands.
    const std::optional<MarkPlace>& markPlace() const { return m_markPlace; }
    // Whether the failure was met in reading a file the user gave, rather
    // than in writing one.
    bool reading() const { return m_reading; }

private:
    int m_number;
    int m_osError;
    std::string m_subject;
    std::size_t m_messageColumns = 0;
    std::size_t m_mostColumns = 0;
    std::size_t m_pictureColumns = 0;
    std::optional<MarkPlace> m_markPlace;
    bool m_reading = false;
};

} // namespace generation
