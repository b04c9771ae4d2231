#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct avr_t;
struct avr_irq_t;

namespace tests {

// An ATmega2560 at 16 MHz on simavr, for tests that claim what the board
// does: it runs a compiled sketch (or the Mega's real bootloader behind a
// pseudo-terminal, for uploads) and records every write to the ports it is
// told to watch, with the cycle it happened on. It knows nothing of
// sketches or signs beyond reading columns back from port writes.
class SimulatedMega {
public:
    static constexpr std::uint32_t kFrequency = 16000000;

    struct PortWrite {
        std::uint64_t cycle;
        char port;
        std::uint8_t value;
    };
    // One column as the sign shows it: the column number written to port C
    // and the word the two data ports held longest until the next column.
    struct Column {
        std::uint64_t cycle;
        int column;
        std::uint16_t word;
    };

    SimulatedMega();
    ~SimulatedMega();
    SimulatedMega(const SimulatedMega&) = delete;
    SimulatedMega& operator=(const SimulatedMega&) = delete;

    // Loads an application into flash and starts it at address 0.
    bool loadHex(const QString& path, QString* error);
    bool loadElf(const QString& path, QString* error);
    // Records every write to these ports ("CKF", "CBA", ...).
    void watchPorts(const std::string& ports);
    // Runs this many more cycles; false when the core crashed or stopped.
    bool run(std::uint64_t cycles);
    std::uint64_t cycle() const;
    // The deepest run() has seen the stack, in bytes below the top of SRAM:
    // with interrupts enabled (the sketch and the calls it makes), and how
    // far below that an interrupt handler went (measured from the point it
    // struck). Together they are what the stack needs at worst.
    struct StackDepth {
        int enabled = 0;
        int interrupt = 0;
    };
    StackDepth stackDepth() const { return m_stack; }

    // Copies, safe to take while the bootloader board runs.
    std::vector<PortWrite> writes() const;
    std::vector<Column> shownColumns(char high, char low) const;
    // Waits (wall time) until this many port writes have been recorded.
    bool waitForWrites(std::size_t count, int timeoutMilliseconds) const;

    QByteArray flash(std::size_t from, std::size_t length) const;
    // Data-space address of a global from the loaded ELF, or -1.
    long symbolAddress(const std::string& name) const;
    std::uint8_t data(std::size_t address) const;
    // Writes SRAM directly, to move a sketch's counter on instead of
    // simulating the minutes it would take to get there.
    void setData(std::size_t address, std::uint8_t value);

    // The board as it leaves the factory: the stk500v2 bootloader at
    // 0x3E000 (where BOOTRST starts it), UART0 on a pseudo-terminal. The core
    // is held in reset until the host's first byte, as the reset pulse of a
    // real USB link would hold it, then runs in a thread of its own until
    // stop(). Returns the terminal's path, or an empty string and why.
    QString startBootloaderOnPty(QString* error);
    void stop();

private:
    static void onPortWrite(avr_irq_t* irq, std::uint32_t value, void* param);
    void runBoard();

    avr_t* m_avr = nullptr;
    struct Watch {
        SimulatedMega* board;
        char port;
    };
    std::vector<std::unique_ptr<Watch>> m_watches;
    mutable std::mutex m_coreMutex;   // the core, while its own thread runs it
    mutable std::mutex m_writesMutex; // the recorded writes
    std::vector<PortWrite> m_writes;
    std::vector<std::pair<std::string, long>> m_symbols;

    struct Pty;
    std::unique_ptr<Pty> m_pty;
    std::thread m_thread;
    std::atomic<bool> m_stopping{false};
    std::atomic<bool> m_crashed{false};
    StackDepth m_stack;
    int m_spWhenEnabled = -1;
};

} // namespace tests
