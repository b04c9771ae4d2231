#pragma once

#include <QMetaType>

namespace board {

// Why compiling or uploading a sketch did not end with a verified board.
// The window and the command line turn each one into their own words.
enum class BoardFailure {
    None,
    ToolsMissing,      // arduino-builder, avrdude or the AVR core is not installed
    CompileFailed,     // the builder rejected the sketch
    NoPort,            // no port was given
    PortNotFound,      // the port does not exist
    PermissionDenied,  // the port exists but may not be opened (dialout group)
    PortBusy,          // another program holds the port
    BoardNotAnswering, // the port opened but no bootloader answered
    VerifyFailed,      // the flash read back differs from the hex
    TimedOut,          // a tool ran past its time and was stopped
    Cancelled,         // the user stopped it
    Other,
};

} // namespace board

Q_DECLARE_METATYPE(board::BoardFailure)
