#pragma once

#include <QString>

namespace window {

// One serial port as the window offers it: the path sent to the board
// layer and the words shown beside it. Finding ports is the board layer's.
struct PortChoice {
    QString path;        // /dev/ttyACM0
    QString description; // what the system calls the device; may be empty
};

} // namespace window
