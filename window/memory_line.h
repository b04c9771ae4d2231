#pragma once

#include <QLabel>

#include <cstddef>

namespace window {

// The line under the preview that says how much of the board's SRAM the
// last generated sketch needs, and whether it will run: red when it cannot
// fit, a warning when too little is left for the stack. The figures are
// BoardMemory's; this only words and colours them.
class MemoryLine : public QLabel {
    Q_OBJECT

public:
    explicit MemoryLine(QWidget* parent);

    void showColumnCount(std::size_t columnCount);
    static QString describe(std::size_t columnCount);
};

} // namespace window
