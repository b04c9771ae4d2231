#pragma once

#include "board/board_outcome.h"

#include <QString>
#include <QStringView>

namespace board {

// Reads what avrdude prints while it writes a sketch to the Mega's flash,
// piece by piece as it arrives, each piece once: how far its bars have
// come, whether a board answered, a port it could not open, and at the end
// what the whole run came to. It keeps only what it has found and the line
// still arriving; it runs nothing and words nothing for the user. Success
// is exit 0 together with avrdude's report that the flash was verified.
class AvrdudeOutput {
public:
    // Takes the next piece of the output, of any size.
    void read(QStringView text);

    // How far the output so far has come, 0 to 100: the write bar is the
    // first half, the verify bar the second.
    int uploadPercent() const;
    // Whether a bootloader has answered: avrdude has read the device signature.
    bool boardAnswered() const;
    // The port avrdude reported it cannot open or use, with the reason, or
    // an outcome without failure when there is none. Only complete lines
    // count, so a reason still arriving is not cut short; avrdude 7.1 goes
    // on spinning after such a report, so it is looked for as the output comes.
    const BoardOutcome& portFailure() const { return m_portFailure; }

    // The output has ended, with this exit code: the outcome's failure and
    // detail line; the log and hex path are left to the caller.
    BoardOutcome end(int exitCode);

private:
    enum class Stage { Connecting, Writing, Verifying };
    struct Bar {
        int hashes = 0;
        bool drawn = false; // its line has ended
    };

    void readLine(QStringView line);
    void readBar(QStringView line, bool complete);

    QString m_line; // the line still arriving
    Stage m_stage = Stage::Connecting;
    Bar m_writeBar;
    Bar m_verifyBar;
    bool m_answered = false;
    BoardOutcome m_portFailure;
    QString m_verifiedBytes;
    bool m_verifyError = false;
    bool m_silent = false;
    QString m_firstComplaint;
};

} // namespace board
