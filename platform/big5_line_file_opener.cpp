#include "platform/big5_line_file_opener.h"

#include "platform/big5_line_file.h"
#include "platform/text_conversion.h"

namespace platform {

std::unique_ptr<generation::LineFile> Big5LineFileOpener::open(const std::string& path)
{
    return std::make_unique<Big5LineFile>(fromUtf8(path));
}

} // namespace platform
