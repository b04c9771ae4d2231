#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QFileSystemWatcher>
#include <QTimer>

#include <optional>

namespace board {

// Lists the serial ports a board may be on, Mega-like boards first, and
// tells when a board is plugged in or out (it watches /dev, or polls where
// it cannot). It does not open ports; any path a user types is the
// uploader's to try. Listing takes some milliseconds, so nothing is listed
// until someone asks.
class PortFinder : public QObject {
    Q_OBJECT
public:
    struct Port {
        QString path;        // /dev/ttyACM0
        QString description; // what the system calls the device
        std::optional<quint16> vendorId;
        std::optional<quint16> productId;
        bool looksLikeMega = false;
    };

    static constexpr int kPollMilliseconds = 1500;

    explicit PortFinder(QObject* parent = nullptr);

    QList<Port> ports() const;
    // The last used port if listed, else the first Mega-like one, else -1.
    static int preferredIndex(const QList<Port>& ports, const QString& lastUsed);
    // USB IDs of genuine Mega 2560 boards and of the common clones' USB
    // serial chips.
    static bool looksLikeMega(std::optional<quint16> vendorId, std::optional<quint16> productId);

signals:
    void portsChanged();

private:
    void poll();

    QFileSystemWatcher m_devices;
    QTimer m_timer;
    QStringList m_lastPaths;
};

} // namespace board
