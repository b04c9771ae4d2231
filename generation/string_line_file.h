#pragma once

#include "generation/line_end.h"
#include "generation/line_file.h"

#include <string>

namespace generation {

// A line file kept in memory as UTF-8 with CR LF line ends: the output
// panel's text. commit() has nothing to replace; take() hands the text over.
class StringLineFile : public LineFile {
public:
    void writeLine(const std::string& text) override
    {
        m_text += text;
        m_text += kLineEnd;
    }
    void commit() override {}
    std::string take() { return std::move(m_text); }

private:
    std::string m_text;
};

} // namespace generation
