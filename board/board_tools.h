#pragma once

#include <QString>
#include <QStringList>

namespace board {

// Where the Arduino tools and the tool's own simulator live on a Debian
// system, and which package brings each Arduino tool. It only looks; running
// the tools is the compiler's, the uploader's and the simulation's.
class BoardTools {
public:
    // Debian's Arduino files: the hardware folders the builder reads, and
    // the AVR core in the first of them. Plain text, so that the tests' own
    // toolchain can take them without linking the board layer.
    static constexpr const char* kHardwareFolder = "/usr/share/arduino/hardware";
    static constexpr const char* kBuilderHardwareFolder = "/usr/share/arduino-builder";
    static constexpr const char* kCoreFolder = "/usr/share/arduino/hardware/arduino/avr";

    static QString builderProgram();  // arduino-builder, empty if absent
    static QString compilerProgram(); // avr-g++, empty if absent
    static QString avrdudeProgram();  // avrdude, empty if absent
    // The core's description of how it is built, which its upgrades replace.
    static QString corePlatformFile();
    // The tool's own program that runs sketches on the simulated Mega:
    // where it belongs, in the ledmarquee folder of the libexec folder the
    // build was configured with, and that path only if it is there.
    static QString simulatorPath();
    static QString simulatorProgram();
    // Debian packages still to install for compiling, for uploading, or both.
    static QStringList missingForCompile();
    static QStringList missingForUpload();
    static QStringList missingForAll();
};

} // namespace board
