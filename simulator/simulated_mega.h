#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct avr_t;
struct avr_irq_t;

namespace simulator {

// An ATmega2560 at the Mega 2560's clock on simavr, run on the caller's
// thread: it loads a compiled sketch (or any Intel HEX, such as the Mega's
// bootloader), runs it in slices of cycles and hands each write to the ports
// it is told to watch to a listener, with the cycle it happened on. It says
// why the core stopped and counts the times it started over. It knows
// nothing of sketches or signs; pacing, reading the sign, threads and
// reporting are its callers'.
class SimulatedMega {
public:
    // Told of each write to a watched port, in the middle of an
    // instruction: it must be quick, and it must not touch the board. What
    // it throws stops the core (Halt::ToolFailed) and goes no further.
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
        ToolFailed,    // our side failed inside the core's run (toolError() says how); no fault of the sketch
    };

    SimulatedMega();
    ~SimulatedMega();
    SimulatedMega(const SimulatedMega&) = delete;
    SimulatedMega& operator=(const SimulatedMega&) = delete;

    // Loads an Intel HEX file into flash and starts it at address 0; a file
    // that does not fit the flash is refused whole.
    bool loadHex(const QString& path, QString* error);
    bool loadElf(const QString& path, QString* error);
    // Starts, and restarts, the core at this byte address instead of 0, as
    // the BOOTRST fuse starts a Mega in its bootloader.
    void resetTo(std::uint32_t byteAddress);
    // Hands every write to these ports ("CKFBA", ...) to the listener, which
    // must outlive the board's running.
    void watchPorts(const std::string& ports, PortListener& listener);
    // Runs this many more cycles; false when the core crashed or stopped,
    // and then halt() says why and haltAddress() where (a byte address).
    bool run(std::uint64_t cycles);
    std::uint64_t cycle() const;
    Halt halt() const { return m_halt; }
    std::uint32_t haltAddress() const { return m_haltAddress; }
    // What failed on our side when halt() is ToolFailed.
    const std::string& toolError() const { return m_toolError; }
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

    // The flash from a byte address, cut off at its end.
    QByteArray flash(std::size_t from, std::size_t length) const;
    // Data-space address of a global from the loaded ELF, or -1.
    long symbolAddress(const std::string& name) const;
    std::uint8_t data(std::size_t address) const;
    // Writes SRAM directly, to move a sketch's counter on instead of
    // simulating the minutes it would take to get there.
    void setData(std::size_t address, std::uint8_t value);
    // simavr's core, for attaching its parts (a serial line, say); only
    // from the thread that runs the board.
    avr_t* core() const { return m_avr; }

    // For the glue that simavr calls (simulated_mega.cpp), not for callers:
    // a watched port, a write to it, and an invalid instruction met.
    struct Watch {
        SimulatedMega* board;
        char port;
        PortListener* listener;
        avr_irq_t* irq;
    };
    void portWritten(const Watch& watch, std::uint32_t value) noexcept;
    void invalidOpcode() noexcept;

private:
    // Stops the core where it is, for a failure on our side.
    void failTool(const char* what) noexcept;

    avr_t* m_avr = nullptr;
    std::vector<std::unique_ptr<Watch>> m_watches;
    std::vector<std::pair<std::string, long>> m_symbols;

    StackDepth m_stack;
    int m_spWhenEnabled = -1;
    Halt m_halt = Halt::None;
    std::uint32_t m_haltAddress = 0;
    std::string m_toolError;
    int m_restarts = 0;
    std::uint64_t m_lastRestartCycle = 0;
    std::uint32_t m_lastRestartFrom = 0;
};

} // namespace simulator
