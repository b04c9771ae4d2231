#include "board/simulated_mega.h"

extern "C" {
#include <avr_ioport.h>
#include <avr_uart.h>
#include <parts/uart_pty.h>
#include <sim_avr.h>
#include <sim_elf.h>
#include <sim_hex.h>
}

#include <QFileInfo>

#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cstring>
#include <map>
#include <unistd.h>

namespace board {

namespace {

const char* const kBootloader =
    "/usr/share/arduino/hardware/arduino/avr/bootloaders/stk500v2/stk500boot_v2_mega2560.hex";
constexpr std::uint32_t kBootloaderStart = 0x3E000;
// The linker puts data-space symbols at this offset in an AVR ELF file.
constexpr std::uint32_t kDataOffset = 0x800000;

// simavr reports through one logger for the whole process; the boards it
// speaks of are found by their core.
std::mutex boardsMutex;
std::vector<std::pair<avr_t*, SimulatedMega*>> boards;

} // namespace

void SimulatedMega::onLog(avr_t* avr, int level, const char* format, std::va_list)
{
    // simavr's own chatter (loading, resets, the UART) is not ours to print.
    // An invalid opcode it logs and then steps over, which a real core
    // would not do: the board stops there.
    if (avr == nullptr || level > LOG_ERROR || std::strstr(format, "Invalid Opcode") == nullptr) {
        return;
    }
    const std::lock_guard lock(boardsMutex);
    for (const auto& [core, board] : boards) {
        if (core == avr) {
            board->m_halt = Halt::InvalidOpcode;
            board->m_haltAddress = avr->pc;
            avr->state = cpu_Crashed;
        }
    }
}

struct SimulatedMega::Pty {
    uart_pty_t uart{};
};

SimulatedMega::SimulatedMega()
{
    static std::once_flag quiet;
    std::call_once(quiet, [] { avr_global_logger_set(&SimulatedMega::onLog); });
    m_avr = avr_make_mcu_by_name("atmega2560");
    avr_init(m_avr);
    m_avr->frequency = kFrequency;
    const std::lock_guard lock(boardsMutex);
    boards.emplace_back(m_avr, this);
}

SimulatedMega::~SimulatedMega()
{
    stop();
    {
        const std::lock_guard lock(boardsMutex);
        std::erase_if(boards, [this](const auto& entry) { return entry.second == this; });
    }
    // With a pseudo-terminal attached, the parts library's thread keeps the
    // core's address and stopping it can hang, so the core is left to the
    // end of the process. Without one it is freed.
    if (!m_pty) {
        avr_terminate(m_avr);
        std::free(m_avr);
    }
}

bool SimulatedMega::loadHex(const QString& path, QString* error)
{
    ihex_chunk_p chunks = nullptr;
    const int count = read_ihex_chunks(QFile::encodeName(path).constData(), &chunks);
    if (count <= 0) {
        *error = QStringLiteral("cannot read %1 as Intel HEX").arg(path);
        return false;
    }
    std::uint32_t end = 0;
    for (int i = 0; i < count; ++i) {
        if (chunks[i].baseaddr + chunks[i].size > m_avr->flashend + 1) {
            *error = QStringLiteral("%1 does not fit the flash").arg(path);
            free_ihex_chunks(chunks);
            return false;
        }
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
    m_avr->frequency = kFrequency;
    m_avr->pc = 0;
    for (std::uint32_t i = 0; i < firmware.symbolcount; ++i) {
        const avr_symbol_t* symbol = firmware.symbol[i];
        if (symbol->addr >= kDataOffset) {
            m_symbols.emplace_back(symbol->symbol, static_cast<long>(symbol->addr - kDataOffset));
        }
    }
    return true;
}

void SimulatedMega::watchPorts(const std::string& ports)
{
    watch(ports, nullptr);
}

void SimulatedMega::watchPorts(const std::string& ports, PortListener& listener)
{
    watch(ports, &listener);
}

void SimulatedMega::watch(const std::string& ports, PortListener* listener)
{
    for (char port : ports) {
        m_watches.push_back(std::make_unique<Watch>(Watch{this, port, listener}));
        avr_irq_t* irq = avr_io_getirq(m_avr, AVR_IOCTL_IOPORT_GETIRQ(port), IOPORT_IRQ_REG_PORT);
        // Every write counts, even one that repeats the port's value.
        irq->flags &= ~IRQ_FLAG_FILTERED;
        avr_irq_register_notify(irq, &SimulatedMega::onPortWrite, m_watches.back().get());
    }
}

void SimulatedMega::onPortWrite(avr_irq_t*, std::uint32_t value, void* param)
{
    auto* watch = static_cast<Watch*>(param);
    SimulatedMega* board = watch->board;
    if (watch->listener != nullptr) {
        watch->listener->portWritten(board->m_avr->cycle, watch->port, static_cast<std::uint8_t>(value));
        return;
    }
    const std::lock_guard lock(board->m_writesMutex);
    board->m_writes.push_back({board->m_avr->cycle, watch->port, static_cast<std::uint8_t>(value)});
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

std::vector<SimulatedMega::PortWrite> SimulatedMega::writes() const
{
    const std::lock_guard lock(m_writesMutex);
    return m_writes;
}

std::vector<SimulatedMega::Column> SimulatedMega::shownColumns(char high, char low) const
{
    const std::vector<PortWrite> all = writes();
    std::vector<Column> shown;
    std::uint8_t highValue = 0;
    std::uint8_t lowValue = 0;
    int column = -1;
    std::uint64_t columnStart = 0;
    std::uint64_t since = 0;
    std::map<std::uint16_t, std::uint64_t> heldFor;
    const auto word = [&] { return static_cast<std::uint16_t>(highValue << 8 | lowValue); };
    const auto closeColumn = [&] {
        if (column < 0 || heldFor.empty()) {
            return;
        }
        auto longest = heldFor.begin();
        for (auto it = heldFor.begin(); it != heldFor.end(); ++it) {
            if (it->second > longest->second) {
                longest = it;
            }
        }
        shown.push_back({columnStart, column, longest->first});
    };
    for (const PortWrite& write : all) {
        heldFor[word()] += write.cycle - since;
        since = write.cycle;
        if (write.port == 'C') {
            closeColumn();
            heldFor.clear();
            column = write.value;
            columnStart = write.cycle;
        } else if (write.port == high) {
            highValue = write.value;
        } else if (write.port == low) {
            lowValue = write.value;
        }
    }
    return shown;
}

bool SimulatedMega::waitForWrites(std::size_t count, int timeoutMilliseconds) const
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMilliseconds);
    while (std::chrono::steady_clock::now() < deadline) {
        {
            const std::lock_guard lock(m_writesMutex);
            if (m_writes.size() >= count) {
                return true;
            }
        }
        if (m_crashed) {
            return false;
        }
        usleep(2000);
    }
    return false;
}

QByteArray SimulatedMega::flash(std::size_t from, std::size_t length) const
{
    const std::lock_guard lock(m_coreMutex);
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

QString SimulatedMega::startBootloaderOnPty(QString* error)
{
    ihex_chunk_p chunks = nullptr;
    const int count = read_ihex_chunks(kBootloader, &chunks);
    if (count <= 0) {
        *error = QStringLiteral("the Mega's bootloader %1 is missing (arduino-core-avr)").arg(kBootloader);
        return {};
    }
    for (int i = 0; i < count; ++i) {
        std::memcpy(m_avr->flash + chunks[i].baseaddr, chunks[i].data, chunks[i].size);
    }
    free_ihex_chunks(chunks);
    // BOOTRST: the core starts, and restarts, in the boot section.
    m_avr->reset_pc = kBootloaderStart;
    m_avr->pc = kBootloaderStart;
    m_avr->codeend = m_avr->flashend;

    m_pty = std::make_unique<Pty>();
    uart_pty_init(m_avr, &m_pty->uart);
    uart_pty_connect(&m_pty->uart, '0');
    // The UART would sleep on every status poll the bootloader makes, which
    // slows a page to seconds and lets avrdude time out.
    std::uint32_t flags = 0;
    avr_ioctl(m_avr, AVR_IOCTL_UART_GET_FLAGS('0'), &flags);
    flags &= ~std::uint32_t(AVR_UART_FLAG_POLL_SLEEP);
    avr_ioctl(m_avr, AVR_IOCTL_UART_SET_FLAGS('0'), &flags);

    const QString path = QString::fromLocal8Bit(m_pty->uart.pty.slavename);
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        *error = QStringLiteral("no pseudo-terminal was made for the board");
        return {};
    }
    m_thread = std::thread([this] { runBoard(); });
    return path;
}

void SimulatedMega::runBoard()
{
    // The bootloader gives the host well under a second of simulated time,
    // far less in wall time; a pseudo-terminal has no DTR line to reset the
    // board, so the core waits in reset until the host speaks.
    while (!m_stopping && m_pty->uart.pty.out.read == m_pty->uart.pty.out.write) {
        usleep(500);
    }
    while (!m_stopping) {
        int state = 0;
        {
            const std::lock_guard lock(m_coreMutex);
            for (int i = 0; i < 1000 && state != cpu_Done && state != cpu_Crashed; ++i) {
                state = avr_run(m_avr);
            }
        }
        if (state == cpu_Done || state == cpu_Crashed) {
            m_crashed = true;
            return;
        }
    }
}

void SimulatedMega::stop()
{
    m_stopping = true;
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

} // namespace board
