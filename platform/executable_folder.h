#pragma once

#include <string>

namespace platform {

// The folder that holds the running executable (UTF-8, native separators),
// where the tool looks for its bb sketch folder. Needs the application object.
std::string executableFolder();

} // namespace platform
