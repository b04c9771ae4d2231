#pragma once

#include <string>

namespace generation {

// The text form of a column word or a count in a sketch: a leading space,
// no zero before the point (" .5"), no trailing zeros, "." in every locale.
std::string numberText(double value);

// Appends numberText(value) to out without a temporary string; the builders
// call it once per message column.
void appendNumberText(std::string& out, double value);

} // namespace generation
