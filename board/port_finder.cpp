#include "board/port_finder.h"

#include <QSerialPortInfo>

#include <algorithm>
#include <array>
#include <utility>

namespace board {

namespace {

constexpr quint16 kArduinoVendor = 0x2341;
constexpr quint16 kArduinoOrgVendor = 0x2A03;
// Mega 2560, Mega 2560 R3, Mega 2560 R3 (later serial chip firmware).
constexpr std::array<quint16, 3> kMegaProducts{0x0010, 0x0042, 0x0242};
// The USB serial chips clones carry: CH340 and FTDI FT232R.
constexpr std::array<std::pair<quint16, quint16>, 2> kCloneChips{{{0x1A86, 0x7523}, {0x0403, 0x6001}}};

} // namespace

PortFinder::PortFinder(QObject* parent) : QObject(parent)
{
    // A board plugged in or out adds or removes its node in /dev.
    if (m_devices.addPath(QStringLiteral("/dev"))) {
        connect(&m_devices, &QFileSystemWatcher::directoryChanged, this, &PortFinder::poll);
    } else {
        connect(&m_timer, &QTimer::timeout, this, &PortFinder::poll);
        m_timer.start(kPollMilliseconds);
    }
}

bool PortFinder::looksLikeMega(std::optional<quint16> vendorId, std::optional<quint16> productId)
{
    if (!vendorId || !productId) {
        return false;
    }
    if (*vendorId == kArduinoVendor || *vendorId == kArduinoOrgVendor) {
        return std::find(kMegaProducts.begin(), kMegaProducts.end(), *productId) != kMegaProducts.end();
    }
    return std::find(kCloneChips.begin(), kCloneChips.end(), std::pair{*vendorId, *productId}) != kCloneChips.end();
}

QList<PortFinder::Port> PortFinder::ports() const
{
    QList<Port> found;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        Port port;
        port.path = info.systemLocation();
        port.description = info.description();
        if (info.hasVendorIdentifier()) {
            port.vendorId = info.vendorIdentifier();
        }
        if (info.hasProductIdentifier()) {
            port.productId = info.productIdentifier();
        }
        port.looksLikeMega = looksLikeMega(port.vendorId, port.productId);
        found << port;
    }
    std::stable_sort(found.begin(), found.end(), [](const Port& a, const Port& b) {
        if (a.looksLikeMega != b.looksLikeMega) {
            return a.looksLikeMega;
        }
        return a.path < b.path;
    });
    return found;
}

int PortFinder::preferredIndex(const QList<Port>& ports, const QString& lastUsed)
{
    if (!lastUsed.isEmpty()) {
        for (qsizetype i = 0; i < ports.size(); ++i) {
            if (ports[i].path == lastUsed) {
                return static_cast<int>(i);
            }
        }
    }
    for (qsizetype i = 0; i < ports.size(); ++i) {
        if (ports[i].looksLikeMega) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void PortFinder::poll()
{
    QStringList paths;
    for (const Port& port : ports()) {
        paths << port.path;
    }
    if (paths != m_lastPaths) {
        m_lastPaths = paths;
        emit portsChanged();
    }
}

} // namespace board
