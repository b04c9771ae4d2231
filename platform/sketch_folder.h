#pragma once

#include <QString>

#include <string>

namespace platform {

// Decides which folder holds the window's bb/bb.ino. A tool run from its build
// folder or from a folder the user unpacked keeps the sketch beside its
// program, where a missing bb folder is an error the user fixes by making it.
// An installed tool (its program in PREFIX/bin with the launcher entry in
// PREFIX/share/applications) cannot write beside itself, so it uses the
// user's Arduino sketchbook, ~/Arduino, where the Arduino IDE looks too.
// Opening and writing the file are left to the sketch file writer.
class SketchFolder {
public:
    // The rule for a program in executableFolder run by a user whose home is homeFolder.
    SketchFolder(const QString& executableFolder, const QString& homeFolder);
    // For the running program and user; needs the application object.
    static SketchFolder current();
    // ~/Arduino of the current user.
    static QString sketchbook();

    bool installed() const { return m_installed; }
    // The folder that holds bb/ (UTF-8, native separators).
    std::string toolFolder() const;

private:
    bool m_installed;
    QString m_folder;
};

} // namespace platform
