#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <cstdarg>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct avr_t;
struct avr_irq_t;

namespace board {

// An ATmega2560 at 16 MHz on simavr: it runs a compiled sketch (or the
// Mega's real bootloader behind a pseudo-terminal, for uploads) and either
// records every write to the ports it is told to watch, with the cycle it
// happened on, or hands each write to a listener as it happens. It says why
// the core stopped and counts the times it started over. It knows nothing
// of sketches or signs beyond reading columns back from recorded writes;
// pacing, pictures and reporting are its callers'.
class SimulatedMega {
public:
    static constexpr std::uint32_t kFrequency = 16000000;

    // Told of each write to a watched port, on the thread that runs the
    // core and in the middle of an instruction: it must be quick, and it
    // must not touch the board.
    class PortListener {
    public:
        virtual void portWritten(std::uint64_t cycle, char port, std::uint8_t value) = 0;

    protected:
        ~PortListener() = default;
    };

    // Why run() returned false.
    enum class Halt {
        None,
        Crashed,       // simavr gave up on the core (the program counter left the flash, say)
        InvalidOpcode, // the core met a word that is no AVR instruction
        Asleep,        // the core went to sleep with interrupts off: nothing can wake it
    };

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
    // Hands every write to these ports to the listener instead, unrecorded
    // and unlocked; the listener must outlive the board's running.
    void watchPorts(const std::string& ports, PortListener& listener);
    // Runs this many more cycles; false when the core crashed or stopped,
    // and then halt() says why and haltAddress() where (a byte address).
    bool run(std::uint64_t cycles);
    std::uint64_t cycle() const;
    Halt halt() const { return m_halt; }
    std::uint32_t haltAddress() const { return m_haltAddress; }
    // How often the core has come back to its reset address after it
    // started: a call through a null pointer, an interrupt with no handler,
    // or a watchdog reset. The cycle of the last time (0 before any) and the
    // byte address of the instruction the core left for it.
    int restarts() const { return m_restarts; }
    std::uint64_t lastRestartCycle() const { return m_lastRestartCycle; }
    std::uint32_t lastRestartFrom() const { return m_lastRestartFrom; }
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
    static void onLog(avr_t* avr, int level, const char* format, std::va_list arguments);
    void watch(const std::string& ports, PortListener* listener);
    void runBoard();

    avr_t* m_avr = nullptr;
    struct Watch {
        SimulatedMega* board;
        char port;
        PortListener* listener;
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
    Halt m_halt = Halt::None;
    std::uint32_t m_haltAddress = 0;
    int m_restarts = 0;
    std::uint64_t m_lastRestartCycle = 0;
    std::uint32_t m_lastRestartFrom = 0;
};

} // namespace board
