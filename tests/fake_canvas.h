#pragma once

#include "generation/glyph_canvas.h"

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tests {

// A canvas whose pixels the test sets one by one, for words no font can be
// made to produce, the ink a text leaves when drawn, and pictures' lit pixels
// where the pen stands. It also records the calls made to it, in order.
class FakeCanvas : public generation::GlyphCanvas {
public:
    static constexpr std::int32_t kBackground = 0xD4D0C8;

    void setFontSize(double points) override { calls.push_back("size " + std::to_string(int(points))); }
    void setFaceName(const std::string& face) override { calls.push_back("face " + face); }
    void setBold(bool on) override { calls.push_back(on ? "bold on" : "bold off"); }
    void setItalic(bool on) override { calls.push_back(on ? "italic on" : "italic off"); }
    void setPenPosition(int x, int y) override
    {
        calls.push_back("pen " + std::to_string(x) + "," + std::to_string(y));
        pen = {x, y};
    }
    void clear() override
    {
        calls.push_back("clear");
        pen = {0, 0};
        black.clear();
        grey.clear();
    }
    void drawText(const std::u16string& text) override
    {
        calls.push_back("draw " + std::to_string(text.size()));
        drawn.push_back(text);
        if (auto found = ink.find(text); found != ink.end()) {
            black.insert(found->second.begin(), found->second.end());
        }
    }
    void drawPicture(const generation::Picture& picture) override
    {
        calls.push_back("picture " + std::to_string(picture.width()));
        for (std::size_t x = 0; x < picture.width(); ++x) {
            for (int row = 0; row < generation::Picture::kHeight; ++row) {
                if (picture.lit(x, row)) {
                    black.insert({pen.first + static_cast<int>(x), pen.second + row});
                }
            }
        }
    }
    int textWidth(const std::u16string& text) const override { return static_cast<int>(text.size()) * 16; }
    int textAdvance(const std::u16string& text) const override { return textWidth(text); }
    std::int32_t readPixel(int x, int y) const override
    {
        if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) {
            return -1;
        }
        if (allBlack || black.count({x, y})) {
            return 0;
        }
        return grey.count({x, y}) ? 0x010101 : kBackground;
    }

    // The black pixels that drawing a given text leaves, wherever the pen is.
    std::map<std::u16string, std::set<std::pair<int, int>>> ink;
    std::set<std::pair<int, int>> black;
    std::set<std::pair<int, int>> grey;
    bool allBlack = false;
    std::pair<int, int> pen;
    std::vector<std::string> calls;
    std::vector<std::u16string> drawn;
};

} // namespace tests
