#include "window/sketch_text_collector.h"

#include "generation/line_end.h"

namespace window {

namespace {

class CollectedFile : public generation::LineFile {
public:
    explicit CollectedFile(std::string& target)
        : m_target(target)
    {
    }

    void writeLine(const std::string& text) override
    {
        m_lines += text;
        m_lines += generation::kLineEnd;
    }

    void commit() override { m_target = std::move(m_lines); }

private:
    std::string& m_target;
    std::string m_lines;
};

} // namespace

std::unique_ptr<generation::LineFile> SketchTextCollector::open(const std::string&)
{
    return std::make_unique<CollectedFile>(m_text);
}

} // namespace window
