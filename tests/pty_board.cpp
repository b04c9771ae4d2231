#include "pty_board.h"

extern "C" {
#include <avr_uart.h>
#include <sim_avr.h>
#include <sim_io.h>
}

#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

namespace tests {

namespace {

const char* const kBootloader =
    "/usr/share/arduino/hardware/arduino/avr/bootloaders/stk500v2/stk500boot_v2_mega2560.hex";
constexpr std::uint32_t kBootloaderStart = 0x3E000;
// The core runs in slices of 1 ms of its time, between which the host's
// bytes are handed on and stop() is heard.
constexpr std::uint64_t kSlice = 16000;

} // namespace

} // namespace tests

// simavr calls these from the core's thread, inside its run.
extern "C" {

static void ptyBoardByteOut(avr_irq_t*, std::uint32_t value, void* param) noexcept
{
    static_cast<tests::PtyBoard*>(param)->byteFromCore(static_cast<std::uint8_t>(value));
}

static void ptyBoardXon(avr_irq_t*, std::uint32_t, void* param) noexcept
{
    static_cast<tests::PtyBoard*>(param)->roomInUart(true);
}

static void ptyBoardXoff(avr_irq_t*, std::uint32_t, void* param) noexcept
{
    static_cast<tests::PtyBoard*>(param)->roomInUart(false);
}

} // extern "C"

namespace tests {

PtyBoard::PtyBoard(std::string ports) : m_ports(std::move(ports))
{
    m_reader.onFrame([this](const Frame& frame) {
        const std::lock_guard lock(m_frameMutex);
        if (!m_firstFrame) {
            m_firstFrame = frame;
            m_frameShown.notify_all();
        }
    });
}

PtyBoard::~PtyBoard()
{
    stop();
    if (m_uartOutput != nullptr) {
        avr_irq_unregister_notify(m_uartOutput, &ptyBoardByteOut, this);
        avr_irq_unregister_notify(m_uartXon, &ptyBoardXon, this);
        avr_irq_unregister_notify(m_uartXoff, &ptyBoardXoff, this);
    }
    for (int fd : {m_master, m_slave, m_wake}) {
        if (fd >= 0) {
            close(fd);
        }
    }
}

QString PtyBoard::start(QString* error)
{
    if (!m_mega.loadHex(QString::fromLatin1(kBootloader), error)) {
        *error = QStringLiteral("the Mega's bootloader: %1 (arduino-core-avr)").arg(*error);
        return {};
    }
    m_mega.resetTo(kBootloaderStart);
    m_mega.watchPorts(m_ports, m_reader);

    char name[128] = {};
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        *error = QStringLiteral("no pseudo-terminal for the board: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        return {};
    }
    // The board's end of the line takes bytes as they are; the slave stays
    // open here, so that the master never hangs up between two hosts.
    termios settings{};
    tcgetattr(m_master, &settings);
    cfmakeraw(&settings);
    tcsetattr(m_master, TCSANOW, &settings);
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_wake = eventfd(0, EFD_CLOEXEC);

    avr_t* core = m_mega.core();
    std::uint32_t flags = 0;
    avr_ioctl(core, AVR_IOCTL_UART_GET_FLAGS('0'), &flags);
    // Binary, not text for the console; and no sleep on every status poll
    // the bootloader makes, which slows a page to seconds and lets avrdude
    // time out.
    flags &= ~std::uint32_t(AVR_UART_FLAG_STDIO | AVR_UART_FLAG_POLL_SLEEP);
    avr_ioctl(core, AVR_IOCTL_UART_SET_FLAGS('0'), &flags);
    m_uartInput = avr_io_getirq(core, AVR_IOCTL_UART_GETIRQ('0'), UART_IRQ_INPUT);
    m_uartOutput = avr_io_getirq(core, AVR_IOCTL_UART_GETIRQ('0'), UART_IRQ_OUTPUT);
    m_uartXon = avr_io_getirq(core, AVR_IOCTL_UART_GETIRQ('0'), UART_IRQ_OUT_XON);
    m_uartXoff = avr_io_getirq(core, AVR_IOCTL_UART_GETIRQ('0'), UART_IRQ_OUT_XOFF);
    avr_irq_register_notify(m_uartOutput, &ptyBoardByteOut, this);
    avr_irq_register_notify(m_uartXon, &ptyBoardXon, this);
    avr_irq_register_notify(m_uartXoff, &ptyBoardXoff, this);

    m_host = std::thread([this] { carryFromHost(); });
    m_core = std::thread([this] { runCore(); });
    return QString::fromLocal8Bit(name);
}

void PtyBoard::carryFromHost()
{
    pollfd fds[] = {{m_master, POLLIN, 0}, {m_wake, POLLIN, 0}};
    while (!m_stopping) {
        if (poll(fds, 2, -1) < 0 && errno != EINTR) {
            return;
        }
        if (fds[1].revents != 0) {
            return;
        }
        std::uint8_t buffer[512];
        const ssize_t count = read(m_master, buffer, sizeof buffer);
        if (count <= 0) {
            continue;
        }
        const std::lock_guard lock(m_hostMutex);
        m_fromHost.insert(m_fromHost.end(), buffer, buffer + count);
        m_hostHasSpoken = true;
        m_hostSpoke.notify_all();
    }
}

void PtyBoard::runCore()
{
    // The bootloader gives the host well under a second of simulated time,
    // far less in wall time; a pseudo-terminal has no DTR line to reset the
    // board, so the core waits in reset until the host speaks.
    {
        std::unique_lock lock(m_hostMutex);
        m_hostSpoke.wait(lock, [this] { return m_hostHasSpoken || m_stopping; });
    }
    bool running = true;
    while (running && !m_stopping) {
        const std::lock_guard lock(m_coreMutex);
        feedUart();
        running = m_mega.run(kSlice);
    }
    const std::lock_guard lock(m_frameMutex);
    m_coreStopped = true;
    m_frameShown.notify_all();
}

void PtyBoard::feedUart()
{
    const std::lock_guard lock(m_hostMutex);
    while (m_room && !m_fromHost.empty()) {
        const std::uint8_t byte = m_fromHost.front();
        m_fromHost.pop_front();
        // The UART says when its input is full (roomInUart(false)), in this call.
        avr_raise_irq(m_uartInput, byte);
    }
}

void PtyBoard::roomInUart(bool room)
{
    m_room = room;
    if (room) {
        feedUart();
    }
}

void PtyBoard::byteFromCore(std::uint8_t byte)
{
    // A host that does not read loses what the board says, as on a real line.
    [[maybe_unused]] const ssize_t written = write(m_master, &byte, 1);
}

std::optional<PtyBoard::Frame> PtyBoard::firstFrame(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_frameMutex);
    m_frameShown.wait_for(lock, timeout, [this] { return m_firstFrame || m_coreStopped; });
    return m_firstFrame;
}

QByteArray PtyBoard::flash(std::size_t from, std::size_t length)
{
    const std::lock_guard lock(m_coreMutex);
    return m_mega.flash(from, length);
}

void PtyBoard::stop()
{
    m_stopping = true;
    {
        const std::lock_guard lock(m_hostMutex);
        m_hostSpoke.notify_all();
    }
    if (m_wake >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = write(m_wake, &one, sizeof one);
    }
    for (std::thread* thread : {&m_host, &m_core}) {
        if (thread->joinable()) {
            thread->join();
        }
    }
}

} // namespace tests
