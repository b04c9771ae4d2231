#pragma once

#include <stdexcept>

namespace cli {

// A mistake in how the tool was called or in the input it was given; it ends
// the run with status 2 and a pointer to --help.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

} // namespace cli
