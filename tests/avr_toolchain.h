#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <optional>

namespace tests {

// Builds sketches for an Arduino Mega 2560 the way the Arduino IDE does,
// with Debian's avr-gcc and Arduino core: the core is compiled once into an
// archive, then each sketch is compiled with Arduino.h included first and
// linked against it.
class AvrToolchain {
public:
    struct Sizes {
        long text = 0;
        long data = 0;
        long bss = 0;
    };

    // The shared toolchain, with its core built; empty when the tools or the
    // core are missing, and then why() says what is missing.
    static AvrToolchain* instance();
    static QString why();

    // Compiles and links the sketch's bytes; on failure returns nothing and
    // puts the compiler's output in error. With measureOverflow a sketch too
    // big for the SRAM still links (as it never would in the IDE), so that
    // its size can be read.
    std::optional<Sizes> build(const QByteArray& sketch, const QString& name, QString* error,
                               bool measureOverflow = false);
    // Where build() left the linked program of that name.
    QString elfPath(const QString& name) const;

private:
    AvrToolchain() = default;
    bool buildCore(QString* error);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_archive;
};

} // namespace tests
