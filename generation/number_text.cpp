#include "generation/number_text.h"

#include <charconv>
#include <string_view>

namespace generation {

void appendNumberText(std::string& out, double value)
{
    // std::to_chars is locale-independent and gives the shortest exact fixed
    // form, so 16385.5 stays "16385.5" and 1352 stays "1352".
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    std::string_view digits(buffer, static_cast<std::size_t>(result.ptr - buffer));
    if (digits.size() > 1 && digits[0] == '0' && digits[1] == '.') {
        digits.remove_prefix(1);
    }
    out += ' ';
    out += digits;
}

std::string numberText(double value)
{
    std::string text;
    appendNumberText(text, value);
    return text;
}

} // namespace generation
