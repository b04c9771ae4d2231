#pragma once

#include <QString>

namespace platform {

// Makes a folder and the folders above it that are missing, as mkdir -p
// does, but keeps the system's reason when that fails. Which folder to make
// is the caller's.
class FolderMaker {
public:
    // Throws SketchError with the folder that could not be made (the first
    // one on the way that failed) and errno: a missing parent that cannot
    // be made, a file where a folder should be, no permission.
    static void make(const QString& folder);
};

} // namespace platform
