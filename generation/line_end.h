#pragma once

#include <string_view>

namespace generation {

// Every line of a generated sketch ends in CR LF, on every platform: the
// sketches are opened by Windows editors as often as by the Arduino IDE.
inline constexpr std::string_view kLineEnd = "\r\n";

} // namespace generation
