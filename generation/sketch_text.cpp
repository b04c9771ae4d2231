#include "generation/sketch_text.h"

#include "generation/line_end.h"
#include "generation/number_text.h"

#include <array>
#include <string_view>

namespace generation {

namespace {

constexpr int kBlankEntries = 64;
constexpr std::size_t kWordsPerLine = 64;

// Written for the panel's wiring (high byte on K, low byte on F); the file's
// wiring is derived by renaming those two ports.
constexpr std::array<std::string_view, 70> kProgramLines = {
    "void setup() {",
    "    DDRF=0xFF;",
    "    DDRK=0xFF;",
    "    DDRC=0xFF;",
    "}",
    "void loop() {",
    "   //明滅標題3次",
    "   for (k=0;k<=2;k++){",
    "       for (j=0;j<=63;j++)",
    "           a[j]=b[j];",
    "       //明",
    "       for (j=0;j<=100;j++){     //延遲的時間",
    "           for (i=0;i<=63;i++)",
    "           {",
    "               PORTC=i;",
    "               PORTK=a[i] / 256;",
    "               PORTF=a[i] % 256;",
    "               delayMicroseconds(100);",
    "               PORTF=0 ;",
    "               PORTK=0;",
    "           }",
    "       }",
    "       //滅",
    "       for (j=0;j<=50;j++)  {   //延遲的時間",
    "           for (i=0;i<=63;i++)",
    "           {",
    "               PORTC=i;",
    "               PORTK=0;",
    "               PORTF=0;",
    "               delayMicroseconds(100);",
    "               PORTF=0 ;",
    "               PORTK=0;",
    "           }",
    "       }",
    "   }",
    "   //上捲",
    "   for (k=0 ;k<=15;k++){",
    "       for (j=0;j<=63;j++){",
    "           a[j]=b[j]<<(15-k) ;",
    "       }",
    "       for (j=0;j<=10;j++){  //延遲的時間",
    "           for (i=0;i<=63;i++)",
    "           {",
    "               PORTC=i;",
    "               PORTK=a[i] / 256;",
    "               PORTF=a[i] % 256;",
    "               delayMicroseconds(100);",
    "               PORTF=0 ;",
    "               PORTK=0;",
    "           }",
    "       }",
    "   }",
    "   //以跑馬燈左旋顯示文字",
    "   for (k=0 ;k<=slen;k++){",
    "       for (j=0;j<=63;j++){",
    "           a[j]=c[j+k] ;",
    "       }",
    "       for (j=0;j<=5;j++){  //延遲的時間",
    "           for (i=0;i<=63;i++)",
    "           {",
    "               PORTC=i;",
    "               PORTK=a[i] / 256;",
    "               PORTF=a[i] % 256;",
    "               delayMicroseconds(100);",
    "               PORTF=0 ;",
    "               PORTK=0;",
    "           }",
    "       }",
    "   }",
    "}",
};

void renamePort(std::string& line, std::string_view from, std::string_view to)
{
    for (auto at = line.find(from); at != std::string::npos; at = line.find(from, at + to.size())) {
        line.replace(at, from.size(), to);
    }
}

} // namespace

const std::vector<std::string>& SketchText::headLines()
{
    static const std::vector<std::string> lines = {
        "unsigned int i,j,k;",
        "unsigned int a[64]; //重複掃瞄資料",
        "//標題資料",
        "unsigned int b[]={",
    };
    return lines;
}

std::string SketchText::titleArray(const std::vector<double>& words)
{
    std::string text;
    for (std::size_t i = 0; i < words.size(); ++i) {
        appendNumberText(text, words[i]);
        text += (i + 1 == words.size()) ? "};" : ",";
    }
    return text;
}

std::string SketchText::countLine(std::size_t columnCount)
{
    return "unsigned int slen=" + numberText(static_cast<double>(columnCount)) + ";   //c[]資料長度";
}

std::string SketchText::messageHead()
{
    return "//文字資料";
}

std::string SketchText::messageArrayOpen()
{
    return "unsigned int c[]={";
}

void SketchText::appendMessageBody(std::string& out, const std::vector<double>& words)
{
    // Each word needs at most " 32767.5," and a line end every 64 words.
    out.reserve(out.size() + kBlankEntries * 2 + words.size() * 10);
    for (int i = 0; i < kBlankEntries; ++i) {
        out += "0,";
    }
    for (std::size_t i = 0; i < words.size(); ++i) {
        appendNumberText(out, words[i]);
        if (i + 1 == words.size()) {
            out += "};";
        } else {
            out += ',';
            if (i % kWordsPerLine == 0) {
                out += kLineEnd;
            }
        }
    }
}

std::vector<std::string> SketchText::programLines(PortWiring wiring)
{
    std::vector<std::string> lines(kProgramLines.begin(), kProgramLines.end());
    if (wiring == PortWiring::PortsBA) {
        for (auto& line : lines) {
            renamePort(line, "DDRF", "DDRA");
            renamePort(line, "DDRK", "DDRB");
            renamePort(line, "PORTF", "PORTA");
            renamePort(line, "PORTK", "PORTB");
        }
    }
    return lines;
}

} // namespace generation
