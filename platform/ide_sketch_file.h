#pragma once

#include <QString>

namespace platform {

// A sketch saved for the Arduino IDE: NAME/NAME.ino in UTF-8, the folder
// named after the sketch as the IDE requires. It decides where the file
// goes and writes it whole or not at all; asking the user for the name is
// the window's business.
class IdeSketchFile {
public:
    // The file for a name and place the user chose: "dir/NAME" or
    // "dir/NAME.ino" becomes dir/NAME/NAME.ino, unless dir is already
    // the NAME folder.
    static QString pathFor(const QString& chosen);

    // Makes the folder if needed and replaces the file atomically with the
    // text in UTF-8; throws SketchError and leaves any earlier file as it
    // was when that fails.
    static void save(const QString& path, const QString& text);
};

} // namespace platform
