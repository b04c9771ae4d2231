#pragma once

#include <string_view>

namespace generation {

// The two Traditional-Chinese faces the sign's text is drawn in, by the
// names the window offers and the command line takes (UTF-8, as the canvas
// takes a face). The faces Debian installs in their place are the
// platform's business.
inline constexpr std::string_view kMingFace = "新細明體";
inline constexpr std::string_view kKaiFace = "標楷體";

} // namespace generation
