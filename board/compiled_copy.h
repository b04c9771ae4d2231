#pragma once

#include "board/board_outcome.h"

#include <QString>

#include <memory>

class QTemporaryDir;

namespace board {

// A job's own copy of what a compile left in the shared build folder: the
// folder is the next compile's, from this window or from the command line,
// and a tool that reads the file a moment later must still read this
// sketch's. It copies one file into a temporary folder of its own, which
// lasts until the next copy or until it goes. Choosing the file and running
// the tool on it are the job's.
class CompiledCopy {
public:
    CompiledCopy();
    ~CompiledCopy();
    CompiledCopy(const CompiledCopy&) = delete;
    CompiledCopy& operator=(const CompiledCopy&) = delete;

    // Copies the file and returns the copy's path; when it cannot, the
    // outcome becomes a FileFailed with the file and the system's error.
    QString take(const QString& source, BoardOutcome& outcome);
    // Lets the copy go.
    void release();

private:
    std::unique_ptr<QTemporaryDir> m_folder;
};

} // namespace board
