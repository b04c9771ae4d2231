#include "cli/error_line.h"

#include <cstdio>

namespace cli {

void printError(const QString& message)
{
    std::fprintf(stderr, "ledmarquee-cli: %s\n", message.toUtf8().constData());
}

} // namespace cli
