// A simulated Mega 2560 with its bootloader on a pseudo-terminal, for trying
// uploads by hand and for the board benchmark: prints the terminal's path,
// waits until standard input ends, then writes the application section of
// the flash (or the given number of bytes) to FILE.
//
//   simulated-mega-pty FLASH-FILE [BYTES]
#include "pty_board.h"

#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: simulated-mega-pty FLASH-FILE [BYTES]\n");
        return 2;
    }
    const std::size_t bytes = argc > 2 ? std::strtoul(argv[2], nullptr, 0) : 0x3E000;
    tests::PtyBoard mega;
    QString error;
    const QString path = mega.start(&error);
    if (path.isEmpty()) {
        std::fprintf(stderr, "simulated-mega-pty: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    std::printf("%s\n", path.toLocal8Bit().constData());
    std::fflush(stdout);
    char buffer[256];
    while (read(STDIN_FILENO, buffer, sizeof buffer) > 0) {
    }
    mega.stop();
    QFile out(QString::fromLocal8Bit(argv[1]));
    const QByteArray flash = mega.flash(0, bytes);
    return out.open(QIODevice::WriteOnly) && out.write(flash) == flash.size() && out.flush() ? 0 : 1;
}
