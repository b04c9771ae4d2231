#include "generation/picture.h"

#include <stdexcept>
#include <string>
#include <utility>

namespace generation {

Picture::Picture(std::vector<std::uint16_t> columns)
    : m_columns(std::move(columns))
{
    if (m_columns.size() > kMaxWidth) {
        throw std::invalid_argument("a picture of " + std::to_string(m_columns.size()) + " columns is wider than "
                                    + std::to_string(kMaxWidth));
    }
}

} // namespace generation
