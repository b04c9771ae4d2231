#pragma once

#include <cstddef>

namespace generation {

// The longest message the tool takes, in UTF-16 code units. A board holds a
// few thousand columns at most, so this is far beyond any sign; it exists so
// that an endless or giant input is refused before it is read in full.
inline constexpr std::size_t kMessageLimit = 1000000;

} // namespace generation
