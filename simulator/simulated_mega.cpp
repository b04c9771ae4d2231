#include "simulator/simulated_mega.h"

#include "generation/board_timing.h"

extern "C" {
#include <avr_ioport.h>
#include <sim_avr.h>
#include <sim_elf.h>
#include <sim_hex.h>
}

#include <QFile>

#include <algorithm>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <mutex>

namespace simulator {

namespace {

// The linker puts data-space symbols at this offset in an AVR ELF file.
constexpr std::uint32_t kDataOffset = 0x800000;

// simavr reports through one logger for the whole process; the boards it
// speaks of are found by their core.
std::mutex boardsMutex;
std::vector<std::pair<avr_t*, SimulatedMega*>> boards;

} // namespace

} // namespace simulator

// simavr is C and calls back through C frames: the glue has C linkage, and
// nothing thrown on our side may unwind through it.
extern "C" {

static void simulatedMegaPortWritten(avr_irq_t*, std::uint32_t value, void* param) noexcept
{
    const auto* watch = static_cast<const simulator::SimulatedMega::Watch*>(param);
    watch->board->portWritten(*watch, value);
}

static void simulatedMegaLog(avr_t* avr, int level, const char* format, std::va_list) noexcept
{
    // simavr's own chatter (loading, resets, the UART) is not ours to print.
    // An invalid opcode it logs and then steps over, which a real core
    // would not do: the board stops there.
    if (avr == nullptr || level > LOG_ERROR || std::strstr(format, "Invalid Opcode") == nullptr) {
        return;
    }
    const std::lock_guard lock(simulator::boardsMutex);
    for (const auto& [core, board] : simulator::boards) {
        if (core == avr) {
            board->invalidOpcode();
        }
    }
}

} // extern "C"

namespace simulator {

SimulatedMega::SimulatedMega()
{
    static std::once_flag quiet;
    std::call_once(quiet, [] { avr_global_logger_set(&simulatedMegaLog); });
    m_avr = avr_make_mcu_by_name("atmega2560");
    avr_init(m_avr);
    m_avr->frequency = generation::BoardTiming::kClockHertz;
    const std::lock_guard lock(boardsMutex);
    boards.emplace_back(m_avr, this);
}

SimulatedMega::~SimulatedMega()
{
    {
        const std::lock_guard lock(boardsMutex);
        std::erase_if(boards, [this](const auto& entry) { return entry.second == this; });
    }
    for (const auto& watch : m_watches) {
        avr_irq_unregister_notify(watch->irq, &simulatedMegaPortWritten, watch.get());
    }
    avr_terminate(m_avr);
    std::free(m_avr);
}

void SimulatedMega::portWritten(const Watch& watch, std::uint32_t value) noexcept
{
    try {
        watch.listener->portWritten(m_avr->cycle, watch.port, static_cast<std::uint8_t>(value));
    } catch (const std::exception& failure) {
        failTool(failure.what());
    } catch (...) {
        failTool("an unknown exception while reading the ports");
    }
}

void SimulatedMega::failTool(const char* what) noexcept
{
    m_toolError = what;
    m_halt = Halt::ToolFailed;
    m_haltAddress = m_avr->pc;
    m_avr->state = cpu_Crashed; // avr_run returns after this instruction
}

void SimulatedMega::invalidOpcode() noexcept
{
    if (m_halt == Halt::None) {
        m_halt = Halt::InvalidOpcode;
        m_haltAddress = m_avr->pc;
    }
    m_avr->state = cpu_Crashed;
}

bool SimulatedMega::loadHex(const QString& path, QString* error)
{
    ihex_chunk_p chunks = nullptr;
    const int count = read_ihex_chunks(QFile::encodeName(path).constData(), &chunks);
    if (count <= 0) {
        *error = QStringLiteral("cannot read %1 as Intel HEX").arg(path);
        return false;
    }
    const auto fits = [&](const ihex_chunk_t& chunk) {
        return chunk.baseaddr <= m_avr->flashend && chunk.size <= m_avr->flashend + 1 - chunk.baseaddr;
    };
    if (!std::all_of(chunks, chunks + count, fits)) {
        *error = QStringLiteral("%1 does not fit the flash").arg(path);
        free_ihex_chunks(chunks);
        return false;
    }
    std::uint32_t end = 0;
    for (int i = 0; i < count; ++i) {
        std::memcpy(m_avr->flash + chunks[i].baseaddr, chunks[i].data, chunks[i].size);
        end = std::max(end, chunks[i].baseaddr + chunks[i].size);
    }
    free_ihex_chunks(chunks);
    m_avr->codeend = end;
    m_avr->pc = 0;
    return true;
}

bool SimulatedMega::loadElf(const QString& path, QString* error)
{
    elf_firmware_t firmware{};
    if (elf_read_firmware(QFile::encodeName(path).constData(), &firmware) != 0) {
        *error = QStringLiteral("cannot read %1 as an AVR ELF file").arg(path);
        return false;
    }
    avr_load_firmware(m_avr, &firmware);
    m_avr->frequency = generation::BoardTiming::kClockHertz;
    m_avr->pc = 0;
    for (std::uint32_t i = 0; i < firmware.symbolcount; ++i) {
        const avr_symbol_t* symbol = firmware.symbol[i];
        if (symbol->addr >= kDataOffset) {
            m_symbols.emplace_back(symbol->symbol, static_cast<long>(symbol->addr - kDataOffset));
        }
    }
    // The core has copied what it runs; what the reader allocated is ours
    // to free, the symbols too unless simavr's tracing keeps them.
    std::free(firmware.flash);
    std::free(firmware.eeprom);
    std::free(firmware.fuse);
    std::free(firmware.lockbits);
    if (m_avr->trace_data == nullptr) {
        for (std::uint32_t i = 0; i < firmware.symbolcount; ++i) {
            std::free(firmware.symbol[i]);
        }
        std::free(firmware.symbol);
    }
    return true;
}

void SimulatedMega::resetTo(std::uint32_t byteAddress)
{
    m_avr->reset_pc = byteAddress;
    m_avr->pc = byteAddress;
    // Code may run anywhere below the end of the flash.
    m_avr->codeend = m_avr->flashend;
}

void SimulatedMega::watchPorts(const std::string& ports, PortListener& listener)
{
    for (char port : ports) {
        avr_irq_t* irq = avr_io_getirq(m_avr, AVR_IOCTL_IOPORT_GETIRQ(port), IOPORT_IRQ_REG_PORT);
        m_watches.push_back(std::make_unique<Watch>(Watch{this, port, &listener, irq}));
        // Every write counts, even one that repeats the port's value.
        irq->flags &= ~IRQ_FLAG_FILTERED;
        avr_irq_register_notify(irq, &simulatedMegaPortWritten, m_watches.back().get());
    }
}

bool SimulatedMega::run(std::uint64_t cycles)
{
    if (m_halt != Halt::None) {
        return false;
    }
    const std::uint64_t until = m_avr->cycle + cycles;
    const int ramEnd = m_avr->ramend;
    const avr_flashaddr_t resetAddress = m_avr->reset_pc;
    while (m_avr->cycle < until) {
        const avr_flashaddr_t pc = m_avr->pc;
        const int state = avr_run(m_avr);
        if (state == cpu_Done || state == cpu_Crashed) {
            if (m_halt == Halt::None) {
                m_halt = state == cpu_Done ? Halt::Asleep : Halt::Crashed;
                m_haltAddress = pc;
            }
            return false;
        }
        if (m_avr->pc == resetAddress) {
            ++m_restarts;
            m_lastRestartCycle = m_avr->cycle;
            m_lastRestartFrom = pc;
        }
        const int sp = m_avr->data[R_SPL] | m_avr->data[R_SPH] << 8;
        // Start-up runs with interrupts off until the core's init() enables
        // them; only what follows counts.
        if (m_avr->sreg[S_I]) {
            m_spWhenEnabled = sp;
            m_stack.enabled = std::max(m_stack.enabled, ramEnd - sp);
        } else if (m_spWhenEnabled >= 0) {
            m_stack.interrupt = std::max(m_stack.interrupt, m_spWhenEnabled - sp);
        }
    }
    return true;
}

std::uint64_t SimulatedMega::cycle() const
{
    return m_avr->cycle;
}

QByteArray SimulatedMega::flash(std::size_t from, std::size_t length) const
{
    const std::size_t size = std::size_t(m_avr->flashend) + 1;
    from = std::min(from, size);
    length = std::min(length, size - from);
    return QByteArray(reinterpret_cast<const char*>(m_avr->flash + from), static_cast<qsizetype>(length));
}

long SimulatedMega::symbolAddress(const std::string& name) const
{
    for (const auto& [symbol, address] : m_symbols) {
        if (symbol == name) {
            return address;
        }
    }
    return -1;
}

std::uint8_t SimulatedMega::data(std::size_t address) const
{
    return m_avr->data[address];
}

void SimulatedMega::setData(std::size_t address, std::uint8_t value)
{
    m_avr->data[address] = value;
}

} // namespace simulator
