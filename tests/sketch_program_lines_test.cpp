#include "generation/sketch_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

// The setup() and loop() lines that every sketch ends with, stated here a
// second time and in another form than the code: each line as its leading
// spaces, the runs of spaces inside it (the character before each run and the
// run's length) and its text with the spaces taken out. The golden sketches
// are rewritten by scripts/refresh-golden; this table is not, so a change to
// the board's loop has to be made here as well, on purpose.
namespace {

using generation::SketchText;

struct SpaceRun {
    char after;
    int length;
    bool operator==(const SpaceRun&) const = default;
};

struct ProgramLine {
    int leadingSpaces;
    std::vector<SpaceRun> innerRuns;
    std::string withoutSpaces;
};

// The panel's wiring: high byte on port K, low byte on port F.
const std::vector<ProgramLine> kPanelProgram = {
    {0, {{'d', 1}, {')', 1}}, "voidsetup(){"},
    {4, {}, "DDRF=0xFF;"},
    {4, {}, "DDRK=0xFF;"},
    {4, {}, "DDRC=0xFF;"},
    {0, {}, "}"},
    {0, {{'d', 1}, {')', 1}}, "voidloop(){"},
    {3, {}, "//明滅標題3次"},
    {3, {{'r', 1}}, "for(k=0;k<=2;k++){"},
    {7, {{'r', 1}}, "for(j=0;j<=63;j++)"},
    {11, {}, "a[j]=b[j];"},
    {7, {}, "//明"},
    {7, {{'r', 1}, {'{', 5}}, "for(j=0;j<=100;j++){//延遲的時間"},
    {11, {{'r', 1}}, "for(i=0;i<=63;i++)"},
    {11, {}, "{"},
    {15, {}, "PORTC=i;"},
    {15, {{']', 1}, {'/', 1}}, "PORTK=a[i]/256;"},
    {15, {{']', 1}, {'%', 1}}, "PORTF=a[i]%256;"},
    {15, {}, "delayMicroseconds(100);"},
    {15, {{'0', 1}}, "PORTF=0;"},
    {15, {}, "PORTK=0;"},
    {11, {}, "}"},
    {7, {}, "}"},
    {7, {}, "//滅"},
    {7, {{'r', 1}, {')', 2}, {'{', 3}}, "for(j=0;j<=50;j++){//延遲的時間"},
    {11, {{'r', 1}}, "for(i=0;i<=63;i++)"},
    {11, {}, "{"},
    {15, {}, "PORTC=i;"},
    {15, {}, "PORTK=0;"},
    {15, {}, "PORTF=0;"},
    {15, {}, "delayMicroseconds(100);"},
    {15, {{'0', 1}}, "PORTF=0;"},
    {15, {}, "PORTK=0;"},
    {11, {}, "}"},
    {7, {}, "}"},
    {3, {}, "}"},
    {3, {}, "//上捲"},
    {3, {{'r', 1}, {'0', 1}}, "for(k=0;k<=15;k++){"},
    {7, {{'r', 1}}, "for(j=0;j<=63;j++){"},
    {11, {{')', 1}}, "a[j]=b[j]<<(15-k);"},
    {7, {}, "}"},
    {7, {{'r', 1}, {'{', 2}}, "for(j=0;j<=10;j++){//延遲的時間"},
    {11, {{'r', 1}}, "for(i=0;i<=63;i++)"},
    {11, {}, "{"},
    {15, {}, "PORTC=i;"},
    {15, {{']', 1}, {'/', 1}}, "PORTK=a[i]/256;"},
    {15, {{']', 1}, {'%', 1}}, "PORTF=a[i]%256;"},
    {15, {}, "delayMicroseconds(100);"},
    {15, {{'0', 1}}, "PORTF=0;"},
    {15, {}, "PORTK=0;"},
    {11, {}, "}"},
    {7, {}, "}"},
    {3, {}, "}"},
    {3, {}, "//以跑馬燈左旋顯示文字"},
    {3, {{'r', 1}, {'0', 1}}, "for(k=0;k<=slen;k++){"},
    {7, {{'r', 1}}, "for(j=0;j<=63;j++){"},
    {11, {{']', 1}}, "a[j]=c[j+k];"},
    {7, {}, "}"},
    {7, {{'r', 1}, {'{', 2}}, "for(j=0;j<=5;j++){//延遲的時間"},
    {11, {{'r', 1}}, "for(i=0;i<=63;i++)"},
    {11, {}, "{"},
    {15, {}, "PORTC=i;"},
    {15, {{']', 1}, {'/', 1}}, "PORTK=a[i]/256;"},
    {15, {{']', 1}, {'%', 1}}, "PORTF=a[i]%256;"},
    {15, {}, "delayMicroseconds(100);"},
    {15, {{'0', 1}}, "PORTF=0;"},
    {15, {}, "PORTK=0;"},
    {11, {}, "}"},
    {7, {}, "}"},
    {3, {}, "}"},
    {0, {}, "}"},
};

ProgramLine describe(const std::string& line)
{
    ProgramLine described{0, {}, {}};
    std::size_t i = 0;
    for (; i < line.size() && line[i] == ' '; ++i) {
        ++described.leadingSpaces;
    }
    for (; i < line.size(); ++i) {
        if (line[i] != ' ') {
            described.withoutSpaces += line[i];
        } else if (line[i - 1] != ' ') {
            described.innerRuns.push_back({line[i - 1], 1});
        } else {
            ++described.innerRuns.back().length;
        }
    }
    return described;
}

void expectProgram(const std::vector<std::string>& lines, const std::vector<ProgramLine>& expected)
{
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ProgramLine actual = describe(lines[i]);
        EXPECT_EQ(actual.leadingSpaces, expected[i].leadingSpaces) << "line " << i + 1 << ": " << lines[i];
        EXPECT_EQ(actual.innerRuns, expected[i].innerRuns) << "line " << i + 1 << ": " << lines[i];
        EXPECT_EQ(actual.withoutSpaces, expected[i].withoutSpaces) << "line " << i + 1;
    }
}

TEST(SketchProgramLinesTest, PanelProgramKeepsEverySpaceAndCharacter)
{
    expectProgram(SketchText::programLines(generation::SketchLayout::panel()), kPanelProgram);
}

TEST(SketchProgramLinesTest, FileProgramDiffersOnlyInDrivingPortsBAInsteadOfKF)
{
    std::vector<ProgramLine> file = kPanelProgram;
    int renamed = 0;
    for (auto& line : file) {
        for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
                 {"DDRF", "DDRA"}, {"DDRK", "DDRB"}, {"PORTF", "PORTA"}, {"PORTK", "PORTB"}}) {
            if (const auto at = line.withoutSpaces.find(from); at != std::string::npos) {
                line.withoutSpaces.replace(at, from.size(), to);
                ++renamed;
            }
        }
    }
    ASSERT_EQ(renamed, 18); // lines 2, 3, 16, 17, 19, 20, 28, 29, 31, 32, 45, 46, 48, 49, 62, 63, 65, 66
    expectProgram(SketchText::programLines(generation::SketchLayout::file()), file);
}

} // namespace
