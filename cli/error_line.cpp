#include "cli/error_line.h"

#include <cstdio>
#include <unistd.h>

namespace cli {

void printError(const QString& message)
{
    std::fprintf(stderr, "ledmarquee-cli: %s\n", message.toUtf8().constData());
}

bool stderrIsTerminal()
{
    return isatty(STDERR_FILENO) == 1;
}

} // namespace cli
