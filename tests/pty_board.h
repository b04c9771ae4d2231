#pragma once

#include "simulator/sign_reader.h"
#include "simulator/simulated_mega.h"
#include "simulator/simulator_output.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

struct avr_irq_t;

namespace tests {

// A Mega 2560 as it leaves the factory, for uploads: the stk500v2
// bootloader at 0x3E000 (where BOOTRST starts it) and UART0 on a
// pseudo-terminal. The core is held in reset until the host's first byte,
// as the reset pulse of a real USB link would hold it, then runs in a thread
// of its own until stop(); a second thread carries what the host writes to
// the core, which takes it on its own thread, so simavr is only ever touched
// from one. It reads the sign from the ports it is told to watch with a
// SignReader and keeps the first frame. Comparing the flash or the frame
// with a sketch is the tests'.
class PtyBoard {
public:
    using Frame = simulator::SimulatorOutput::Frame;

    // The sign's ports to watch: the bootloader blinks the LED on port B,
    // so the panel's "CKF" rather than all of them.
    explicit PtyBoard(std::string ports = "CKF");
    ~PtyBoard();
    PtyBoard(const PtyBoard&) = delete;
    PtyBoard& operator=(const PtyBoard&) = delete;

    // Returns the terminal's path, or an empty string and why.
    QString start(QString* error);
    // Waits (wall time) for the first whole frame the application shows;
    // nothing if none came in time or the core stopped.
    std::optional<Frame> firstFrame(std::chrono::milliseconds timeout);
    QByteArray flash(std::size_t from, std::size_t length);
    // Ends both threads; the board keeps its flash.
    void stop();

    // For the glue that simavr calls (pty_board.cpp), on the core's thread.
    void byteFromCore(std::uint8_t byte);
    void roomInUart(bool room);

private:
    void carryFromHost();
    void runCore();
    void feedUart();

    std::string m_ports;
    simulator::SimulatedMega m_mega;
    simulator::SignReader m_reader;
    avr_irq_t* m_uartInput = nullptr;
    avr_irq_t* m_uartOutput = nullptr;
    avr_irq_t* m_uartXon = nullptr;
    avr_irq_t* m_uartXoff = nullptr;
    bool m_room = false; // the UART takes another byte (the core's thread only)
    int m_master = -1;
    int m_slave = -1;
    int m_wake = -1; // an eventfd that ends the host thread's wait

    std::mutex m_coreMutex; // the core, while its thread runs it
    std::atomic<bool> m_stopping{false};
    std::thread m_core;
    std::thread m_host;

    std::mutex m_hostMutex; // the host's bytes on their way
    std::condition_variable m_hostSpoke;
    std::deque<std::uint8_t> m_fromHost;
    bool m_hostHasSpoken = false;

    std::mutex m_frameMutex;
    std::condition_variable m_frameShown;
    std::optional<Frame> m_firstFrame;
    bool m_coreStopped = false;
};

} // namespace tests
