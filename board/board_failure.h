#pragma once

#include <QMetaType>

namespace board {

// Why compiling, uploading or simulating a sketch did not end as asked.
// The window and the command line turn each one into their own words.
enum class BoardFailure {
    None,
    ToolsMissing,      // arduino-builder, avrdude or the AVR core is not installed
    CompileFailed,     // the builder rejected the sketch (compiling or linking it)
    NoPort,            // no port was given
    PortNotFound,      // the port does not exist
    PermissionDenied,  // the port exists but may not be opened (dialout group)
    PortBusy,          // another program holds the port
    BoardNotAnswering, // the port opened but no bootloader answered
    VerifyFailed,      // the flash read back differs from the hex
    TimedOut,          // a tool ran past its time and was stopped
    Cancelled,         // the user stopped it
    Crashed,           // a tool was ended by a signal nobody here sent
    FileFailed,        // a file or folder the job needs could not be made, written or copied
    SimulatorMissing,  // the tool's own simulator program is not where it belongs
    SimulatorFailed,   // the simulator could not run the sketch (its own error line or exit status)
    SimulatorUnreadable, // the simulator wrote a line this tool cannot read (another version of it, say)
    Other,
};

} // namespace board

Q_DECLARE_METATYPE(board::BoardFailure)
