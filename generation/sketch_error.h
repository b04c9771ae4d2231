#pragma once

#include <stdexcept>
#include <string>

namespace generation {

// A failure to deliver a sketch, with a number and a description that names
// what failed (a path, the clipboard). It travels up to the one place that
// shows it; nothing on the way catches it.
class SketchError : public std::runtime_error {
public:
    // The numbers follow the runtime error numbers long used by Windows
    // desktop tools, so a user searching for one finds the familiar meaning.
    static constexpr int kPathNotFound = 76;
    static constexpr int kPathAccess = 75;
    static constexpr int kDeviceIo = 57;
    static constexpr int kClipboard = 521;
    static constexpr int kOutOfMemory = 7;

    SketchError(int number, const std::string& description)
        : std::runtime_error(description)
        , m_number(number)
    {
    }

    int number() const { return m_number; }
    std::string description() const { return what(); }

private:
    int m_number;
};

} // namespace generation
