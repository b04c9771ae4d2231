#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace generation {

// Which ports carry the column word's two bytes. The panel sketch drives the
// high byte on port K and the low byte on port F; the sketch file is for
// boards wired to B and A instead. Port C selects the column in both.
enum class PortWiring { PortsKF, PortsBA };

// The fixed lines and array texts that both sketches are made of, so that the
// panel and the file share one source and differ only where they must. It
// knows no canvas and no file; the builders decide what goes where.
class SketchText {
public:
    // The title array always holds the sign's 64 columns.
    static constexpr std::size_t kTitleColumns = 64;

    // The four lines before the title array, without line ends.
    static const std::vector<std::string>& headLines();
    // The 64 title words, "," between them and "};" after the last.
    static std::string titleArray(const std::vector<double>& words);
    // "unsigned int slen=" with the message column count.
    static std::string countLine(std::size_t columnCount);
    static std::string messageHead();
    static std::string messageArrayOpen();
    // 64 "0," entries that keep the sign dark while the message enters, then
    // the words, with a line end after the words of columns 0, 64, 128, ...
    // and "};" after the last word (no line end after it).
    static void appendMessageBody(std::string& out, const std::vector<double>& words);
    // The 70 lines of setup() and loop(), without line ends.
    static std::vector<std::string> programLines(PortWiring wiring);
};

} // namespace generation
