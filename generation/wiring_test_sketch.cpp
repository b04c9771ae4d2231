#include "generation/wiring_test_sketch.h"

#include "generation/board_timing.h"
#include "generation/marquee_shape.h"
#include "generation/sketch_text.h"
#include "generation/string_line_file.h"
#include "generation/wiring_test_timing.h"

#include <cmath>

namespace generation {

int WiringTestSketch::frames(Part part, PortWiring wiring)
{
    const double microseconds = part == Part::Row      ? kRowMicroseconds
                                : part == Part::Column ? kColumnMicroseconds
                                                       : kEverythingMicroseconds;
    const double frameCycles = WiringTestTiming::forWiring(wiring).frame;
    return static_cast<int>(std::lround(microseconds * BoardTiming::kCyclesPerMicrosecond / frameCycles));
}

char WiringTestSketch::rowPort(int row, PortWiring wiring)
{
    const DataPorts ports = dataPorts(wiring);
    return row < 8 ? ports.low : ports.high;
}

std::string WiringTestSketch::pinName(char port, int bit)
{
    switch (port) {
    case 'A':
        return std::to_string(22 + bit);
    case 'B': {
        static constexpr int kPins[] = {53, 52, 51, 50, 10, 11, 12, 13};
        return std::to_string(kPins[bit & 7]);
    }
    case 'C':
        return std::to_string(37 - bit);
    case 'F':
    case 'K':
        // The analog inputs' names, A0 to A15.
        return std::string(1, 'A').append(std::to_string(port == 'F' ? bit : 8 + bit));
    default:
        return "?";
    }
}

void WiringTestSketch::write(LineFile& out, PortWiring wiring)
{
    const char high = rowPort(MarqueeShape::kRows - 1, wiring);
    const char low = rowPort(0, wiring);
    const std::string columns = SketchText::lastIndex(MarqueeShape::kColumns);
    const auto frameLoop = [&](Part part, int indent) {
        const std::string spaces(static_cast<std::size_t>(indent), ' ');
        out.writeLine(spaces + "for (j=0;j<=" + SketchText::lastIndex(frames(part, wiring)) + ";j++){  //延遲的時間");
        for (const auto& line : SketchText::frameLines(wiring, indent + 4)) {
            out.writeLine(line);
        }
        out.writeLine(spaces + "}");
    };

    out.writeLine("//接線測試：逐列、逐行、全亮，一再重複");
    out.writeLine("unsigned int i,j,k;");
    out.writeLine("unsigned int a[" + std::to_string(MarqueeShape::kColumns) + "]; //重複掃瞄資料");
    out.writeLine("void setup() {");
    out.writeLine(std::string("    DDR") + low + "=0xFF;");
    out.writeLine(std::string("    DDR") + high + "=0xFF;");
    out.writeLine("    DDRC=0xFF;");
    out.writeLine("}");
    out.writeLine("void loop() {");
    out.writeLine("   //逐列：第1列（位元0）到第" + std::to_string(MarqueeShape::kRows) + "列，每列約0.5秒");
    out.writeLine("   for (k=0;k<=" + SketchText::lastIndex(MarqueeShape::kRows) + ";k++){");
    out.writeLine("       for (j=0;j<=" + columns + ";j++)");
    out.writeLine("           a[j]=1U<<k;");
    frameLoop(Part::Row, 7);
    out.writeLine("   }");
    out.writeLine("   //逐行：第1行（PORTC=0）到第" + std::to_string(MarqueeShape::kColumns) + "行，整行全亮，每行約0.1秒");
    out.writeLine("   for (k=0;k<=" + columns + ";k++){");
    out.writeLine("       for (j=0;j<=" + columns + ";j++)");
    out.writeLine("           a[j]=0;");
    out.writeLine("       a[k]=0xFFFF;");
    frameLoop(Part::Column, 7);
    out.writeLine("   }");
    out.writeLine("   //全亮約1秒");
    out.writeLine("   for (j=0;j<=" + columns + ";j++)");
    out.writeLine("       a[j]=0xFFFF;");
    frameLoop(Part::Everything, 3);
    out.writeLine("}");
}

std::string WiringTestSketch::text(PortWiring wiring)
{
    StringLineFile out;
    write(out, wiring);
    return out.take();
}

} // namespace generation
