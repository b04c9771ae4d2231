// A message file as the command line reads it: any bytes are taken as a
// message or refused with a usage error, never crash the reader, and what is
// taken is valid UTF-8 read back as the same text.
#include "cli/message_file.h"
#include "cli/usage_error.h"
#include "generation/sketch_error.h"

#include <QString>

#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A file in memory, opened by its name as a user's file would be.
    const int file = ::memfd_create("message", MFD_CLOEXEC);
    if (file < 0 || ::write(file, data, size) != static_cast<ssize_t>(size)) {
        std::abort();
    }
    try {
        const QString message = cli::MessageFile::read(QStringLiteral("/proc/self/fd/%1").arg(file));
        if (message.contains(QChar::ReplacementCharacter) && !QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).contains("\xEF\xBF\xBD")) {
            std::abort(); // an invalid sequence was taken as text
        }
    } catch (const cli::UsageError&) {
    } catch (const generation::SketchError&) {
        std::abort(); // a file in memory never fails to read
    }
    ::close(file);
    return 0;
}
