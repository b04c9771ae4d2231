#include "generation/sketch_text.h"

#include "generation/marquee_shape.h"
#include "generation/number_text.h"

#include <utility>

namespace generation {

namespace {

constexpr int kBlankEntries = MarqueeShape::kColumns;
// The frame loops sit two loops deep in loop().
constexpr int kFrameIndent = 11;

// The data ports for the high and the low byte of a column word, as text.
std::pair<std::string, std::string> dataPortNames(PortWiring wiring)
{
    const DataPorts ports = dataPorts(wiring);
    return {std::string(1, ports.high), std::string(1, ports.low)};
}

} // namespace

std::string SketchText::lastIndex(int count)
{
    return std::to_string(count - 1);
}

std::vector<std::string> SketchText::frameLines(PortWiring wiring, int indent, bool dark)
{
    const auto [high, low] = dataPortNames(wiring);
    const std::string outer(static_cast<std::size_t>(indent), ' ');
    const std::string inner = outer + "    ";
    std::vector<std::string> lines;
    lines.push_back(outer + "for (i=0;i<=" + lastIndex(MarqueeShape::kColumns) + ";i++)");
    lines.push_back(outer + "{");
    lines.push_back(inner + "PORTC=i;");
    if (dark) {
        lines.push_back(inner + "PORT" + high + "=0;");
        lines.push_back(inner + "PORT" + low + "=0;");
    } else {
        lines.push_back(inner + "PORT" + high + "=a[i] / 256;");
        lines.push_back(inner + "PORT" + low + "=a[i] % 256;");
    }
    lines.push_back(inner + "delayMicroseconds(" + std::to_string(MarqueeShape::kLitMicroseconds) + ");");
    lines.push_back(inner + "PORT" + low + "=0 ;");
    lines.push_back(inner + "PORT" + high + "=0;");
    lines.push_back(outer + "}");
    return lines;
}

std::vector<std::string> SketchText::headLines(const SketchLayout& layout)
{
    std::vector<std::string> lines;
    if (layout.storage == MessageStorage::Flash) {
        // The marquee's step counter runs up to slen, which passes 65,535.
        lines.push_back("unsigned int i,j;");
        lines.push_back("unsigned long k;");
    } else {
        lines.push_back("unsigned int i,j,k;");
    }
    lines.push_back("unsigned int a[" + std::to_string(MarqueeShape::kColumns) + "]; //重複掃瞄資料");
    lines.push_back("//標題資料");
    lines.push_back("unsigned int b[]={");
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

std::string SketchText::countLine(std::size_t columnCount, const SketchLayout& layout)
{
    const char* type = layout.storage == MessageStorage::Flash ? "unsigned long" : "unsigned int";
    return std::string(type) + " slen=" + numberText(static_cast<double>(columnCount)) + ";   //c[]資料長度";
}

std::string SketchText::messageHead()
{
    return "//文字資料";
}

std::string SketchText::messageArrayOpen()
{
    return "unsigned int c[]={";
}

std::string SketchText::flashArrayOpen(std::size_t index)
{
    return "const unsigned int c" + std::to_string(index) + "[] PROGMEM={";
}

std::vector<std::string> SketchText::flashReader(std::size_t arrays, bool far)
{
    std::string list;
    for (std::size_t i = 0; i < arrays; ++i) {
        list += (i == 0 ? "c" : ",c") + std::to_string(i);
    }
    const std::string blank = std::to_string(kBlankEntries);
    const std::string shift = "13";
    const std::string mask = std::to_string(kFlashArrayWords - 1);
    static_assert(SketchText::kFlashArrayWords == 1u << 13);
    std::vector<std::string> lines;
    if (far) {
        lines.push_back("unsigned long cAt[" + std::to_string(arrays) + "]; //各段資料在快閃記憶體的位址");
    } else {
        lines.push_back("const unsigned int* const cAt[]={" + list + "};");
    }
    lines.push_back("//第n欄的資料，訊息前後各" + blank + "欄空白");
    lines.push_back("unsigned int c(unsigned long n){");
    lines.push_back("    if (n<" + blank + " || n>=slen) return 0;");
    lines.push_back("    n-=" + blank + ";");
    if (far) {
        lines.push_back("    return pgm_read_word_far(cAt[n>>" + shift + "]+(n&" + mask + ")*2);");
    } else {
        lines.push_back("    return pgm_read_word(cAt[n>>" + shift + "]+(n&" + mask + "));");
    }
    lines.push_back("}");
    return lines;
}

std::vector<std::string> SketchText::programLines(const SketchLayout& layout, std::size_t flashArrays, bool far)
{
    const auto [high, low] = dataPortNames(layout.wiring);
    const bool flash = layout.storage == MessageStorage::Flash;
    const std::string columns = lastIndex(MarqueeShape::kColumns);

    std::vector<std::string> lines;
    const auto appendFrame = [&](bool dark) {
        for (auto& line : frameLines(layout.wiring, kFrameIndent, dark)) {
            lines.push_back(std::move(line));
        }
    };
    lines.push_back("void setup() {");
    lines.push_back("    DDR" + low + "=0xFF;");
    lines.push_back("    DDR" + high + "=0xFF;");
    lines.push_back("    DDRC=0xFF;");
    if (flash && far) {
        for (std::size_t i = 0; i < flashArrays; ++i) {
            const std::string n = std::to_string(i);
            lines.push_back("    cAt[" + n + "]=pgm_get_far_address(c" + n + ");");
        }
    }
    lines.push_back("}");
    lines.push_back("void loop() {");
    lines.push_back("   //明滅標題" + std::to_string(MarqueeShape::kBlinks) + "次");
    lines.push_back("   for (k=0;k<=" + lastIndex(MarqueeShape::kBlinks) + ";k++){");
    lines.push_back("       for (j=0;j<=" + columns + ";j++)");
    lines.push_back("           a[j]=b[j];");
    lines.push_back("       //明");
    lines.push_back("       for (j=0;j<=" + lastIndex(MarqueeShape::kLitFrames) + ";j++){     //延遲的時間");
    appendFrame(false);
    lines.push_back("       }");
    lines.push_back("       //滅");
    lines.push_back("       for (j=0;j<=" + lastIndex(MarqueeShape::kDarkFrames) + ";j++)  {   //延遲的時間");
    appendFrame(true);
    lines.push_back("       }");
    lines.push_back("   }");
    lines.push_back("   //上捲");
    const std::string lastRow = lastIndex(MarqueeShape::kRows);
    lines.push_back("   for (k=0 ;k<=" + lastIndex(MarqueeShape::kRollSteps) + ";k++){");
    lines.push_back("       for (j=0;j<=" + columns + ";j++){");
    lines.push_back("           a[j]=b[j]<<(" + lastRow + "-k) ;");
    lines.push_back("       }");
    lines.push_back("       for (j=0;j<=" + lastIndex(MarqueeShape::kRollFrames) + ";j++){  //延遲的時間");
    appendFrame(false);
    lines.push_back("       }");
    lines.push_back("   }");
    lines.push_back("   //以跑馬燈左旋顯示文字");
    lines.push_back("   for (k=0 ;k<=slen;k++){");
    lines.push_back("       for (j=0;j<=" + columns + ";j++){");
    lines.push_back(flash ? "           a[j]=c(j+k) ;" : "           a[j]=c[j+k] ;");
    lines.push_back("       }");
    lines.push_back("       for (j=0;j<=" + lastIndex(layout.stepFrames) + ";j++){  //延遲的時間");
    appendFrame(false);
    lines.push_back("       }");
    lines.push_back("   }");
    lines.push_back("}");
    return lines;
}

} // namespace generation
