#pragma once

#include "generation/line_file.h"

#include <string>

namespace cli {

// Hands every line to the text kept for the board tools and, when there is
// one, to the output file as well. Committing either is the caller's.
class TeeLineFile : public generation::LineFile {
public:
    TeeLineFile(generation::LineFile& kept, generation::LineFile* output)
        : m_kept(kept)
        , m_output(output)
    {
    }
    void writeLine(const std::string& text) override
    {
        m_kept.writeLine(text);
        if (m_output != nullptr) {
            m_output->writeLine(text);
        }
    }
    void commit() override {}

private:
    generation::LineFile& m_kept;
    generation::LineFile* m_output;
};

} // namespace cli
