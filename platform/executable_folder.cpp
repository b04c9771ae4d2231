#include "platform/executable_folder.h"

#include "platform/text_conversion.h"

#include <QCoreApplication>
#include <QDir>

namespace platform {

std::string executableFolder()
{
    return toUtf8(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
}

} // namespace platform
