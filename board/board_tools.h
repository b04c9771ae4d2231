#pragma once

#include <QString>
#include <QStringList>

namespace board {

// Where the Arduino tools live on a Debian system and which package brings
// each one. It only looks; running the tools is the compiler's and the
// uploader's.
class BoardTools {
public:
    static QString builderProgram();  // arduino-builder, empty if absent
    static QString avrdudeProgram();  // avrdude, empty if absent
    static QString coreFolder();      // the Arduino AVR core
    // Debian packages still to install for compiling, for uploading, or both.
    static QStringList missingForCompile();
    static QStringList missingForUpload();
    static QStringList missingForAll();
};

} // namespace board
