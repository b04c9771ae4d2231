#include "avr_toolchain.h"

#include "generation/sign_animation.h"
#include "generation/wiring_test_sketch.h"
#include "simulator/simulator_output.h"

#include <QProcess>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <variant>

namespace {

using simulator::SimulatorOutput;
using Kind = SimulatorOutput::Fault::Kind;

// What ledmarquee-simulator said about a sketch, read as the tool reads it.
struct ProgramRun {
    int exitCode = -1;
    std::vector<SimulatorOutput::Event> events;
    QString errors;

    template <typename Event>
    std::vector<Event> all() const
    {
        std::vector<Event> found;
        for (const auto& event : events) {
            if (const auto* one = std::get_if<Event>(&event)) {
                found.push_back(*one);
            }
        }
        return found;
    }
};

// Tiny sketches compiled as the IDE would and run through the simulator
// program, as the window and the command line run theirs.
class SimulatorProgramTest : public testing::Test {
protected:
    void SetUp() override
    {
        toolchain = tests::AvrToolchain::instance();
        if (toolchain == nullptr) {
            GTEST_SKIP() << "AVR toolchain absent: " << tests::AvrToolchain::why().toStdString();
        }
    }

    QString build(const QByteArray& sketch, const QString& name)
    {
        QString error;
        EXPECT_TRUE(toolchain->build(sketch, name, &error).has_value()) << error.toStdString();
        return toolchain->elfPath(name);
    }

    static void start(QProcess& process, const QStringList& arguments)
    {
        process.start(QStringLiteral(LEDMARQUEE_SIMULATOR), arguments);
        ASSERT_TRUE(process.waitForStarted());
    }

    static ProgramRun run(const QStringList& arguments)
    {
        QProcess process;
        start(process, arguments);
        EXPECT_TRUE(process.waitForFinished(120000));
        return finished(process, SimulatorOutput());
    }

    static ProgramRun finished(QProcess& process, SimulatorOutput output)
    {
        ProgramRun result;
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.events = output.read(QString::fromUtf8(process.readAllStandardOutput()));
        result.errors = QString::fromLocal8Bit(process.readAllStandardError());
        return result;
    }

    tests::AvrToolchain* toolchain = nullptr;
};

struct FaultCase {
    const char* name;
    Kind kind;
    const char* sketch;
};

// Named by its sketch in the tests' names.
void PrintTo(const FaultCase& c, std::ostream* out)
{
    *out << c.name;
}

class SimulatorFaultTest : public SimulatorProgramTest, public testing::WithParamInterface<FaultCase> {};

// Each way a sketch can wreck the board ends the run with a fault line that
// says what happened and when, and the program's status says so.
TEST_P(SimulatorFaultTest, EndsTheRunWithTheFault)
{
    const FaultCase& c = GetParam();
    const QString elf = build(c.sketch, QString::fromLatin1(c.name));
    const ProgramRun result = run({QStringLiteral("--seconds"), QStringLiteral("3"), elf});
    EXPECT_EQ(result.exitCode, 1) << result.errors.toStdString();
    const auto faults = result.all<SimulatorOutput::Fault>();
    ASSERT_EQ(faults.size(), 1u) << result.errors.toStdString();
    EXPECT_EQ(faults[0].kind, c.kind);
    EXPECT_GT(faults[0].microseconds, 0u);
    EXPECT_LT(faults[0].microseconds, 2000000u) << "well before the end of the run";
    EXPECT_TRUE(std::holds_alternative<SimulatorOutput::End>(result.events.back()));
}

INSTANTIATE_TEST_SUITE_P(
    Sketches, SimulatorFaultTest,
    testing::Values(
        FaultCase{"jumpsoff", Kind::Crashed, "void setup() {}\nvoid loop() { asm volatile(\"jmp 0x3f000\"); }\n"},
        FaultCase{"invalid", Kind::InvalidOpcode, "void setup() {}\nvoid loop() { asm volatile(\".word 0x0001\"); }\n"},
        FaultCase{"restartsonce", Kind::Restarted,
                  "__attribute__((section(\".noinit\"))) volatile unsigned char started;\n"
                  "void setup() { if (started != 0x5a) { started = 0x5a; asm volatile(\"jmp 0\"); } }\n"
                  "void loop() {}\n"},
        FaultCase{"resets", Kind::Resets,
                  "typedef void (*Action)();\nvolatile Action action = 0;\n"
                  "void setup() {}\nvoid loop() { action(); }\n"},
        FaultCase{"asleep", Kind::Asleep,
                  "#include <avr/sleep.h>\n"
                  "void setup() {}\n"
                  "void loop() { cli(); set_sleep_mode(SLEEP_MODE_PWR_DOWN); sleep_enable(); sleep_cpu(); }\n"}),
    [](const testing::TestParamInfo<FaultCase>& param) { return std::string(param.param.name); });

// A sketch that waits two and a half seconds in setup() before it scans
// the sign is no fault: the program says that the sign is still dark every
// half second until it lights, then shows the frames.
TEST_F(SimulatorProgramTest, ASketchThatWaitsBeforeItScansIsNoFault)
{
    const QString elf = build("void setup() { delay(2500); DDRC = 0xFF; DDRK = 0xFF; DDRF = 0xFF; }\n"
                              "void loop() {\n"
                              "  for (int i = 0; i < 64; i++) { PORTC = i; PORTF = 1; delayMicroseconds(100); PORTF = 0; }\n"
                              "}\n",
                              QStringLiteral("waits"));
    const ProgramRun result = run({QStringLiteral("--seconds"), QStringLiteral("6"), QStringLiteral("--frames"), elf});
    EXPECT_EQ(result.exitCode, 0) << result.errors.toStdString();
    EXPECT_TRUE(result.all<SimulatorOutput::Fault>().empty());
    const auto dark = result.all<SimulatorOutput::Dark>();
    ASSERT_EQ(dark.size(), 5u);
    for (std::size_t i = 0; i < dark.size(); ++i) {
        EXPECT_EQ(dark[i].microseconds / 1000, 500 * (i + 1));
    }
    const auto frames = result.all<SimulatorOutput::Frame>();
    ASSERT_EQ(frames.size(), 1u) << "one picture, shown from 2.5 s on";
    EXPECT_GE(frames[0].microseconds, 2500000u);
    SimulatorOutput::Words rowZero;
    rowZero.fill(1);
    EXPECT_EQ(frames[0].words, rowZero);
}

// The window's live run has no length: a sketch that never lights the sign
// is said to be dark, again and again, until the run is stopped with
// SIGTERM, which ends it cleanly with its end line and no fault.
TEST_F(SimulatorProgramTest, ALiveRunOfADarkSketchSaysSoUntilItIsStopped)
{
    const QString elf = build("void setup() {}\nvoid loop() {}\n", QStringLiteral("dark"));
    QProcess process;
    start(process, {QStringLiteral("--real-time"), QStringLiteral("--light"), elf});
    SimulatorOutput output;
    std::vector<SimulatorOutput::Event> events;
    const auto darkSaid = [&events] {
        return std::count_if(events.begin(), events.end(),
                             [](const auto& event) { return std::holds_alternative<SimulatorOutput::Dark>(event); });
    };
    while (darkSaid() < 2 && process.waitForReadyRead(10000)) {
        for (auto& event : output.read(QString::fromUtf8(process.readAllStandardOutput()))) {
            events.push_back(std::move(event));
        }
    }
    ASSERT_EQ(darkSaid(), 2);
    process.terminate();
    ASSERT_TRUE(process.waitForFinished(10000));
    const ProgramRun rest = finished(process, std::move(output));
    EXPECT_EQ(rest.exitCode, 0) << rest.errors.toStdString();
    ASSERT_FALSE(rest.events.empty());
    EXPECT_TRUE(std::holds_alternative<SimulatorOutput::End>(rest.events.back()));
    EXPECT_TRUE(rest.all<SimulatorOutput::Fault>().empty());
    EXPECT_GE(std::get<SimulatorOutput::End>(rest.events.back()).microseconds, 1000000u);
}

// A real sketch, the wiring test for ports K and F, for a second and a
// half: the wiring once it scans, its first two pictures (the top row, then
// the second) and the top row's LEDs fully lit in the light it measures.
TEST_F(SimulatorProgramTest, RunsARealSketchWritingItsWiringFramesAndLight)
{
    using generation::PortWiring;
    const QString elf = build(QByteArray::fromStdString(generation::WiringTestSketch::text(PortWiring::PortsKF)),
                              QStringLiteral("wiring"));
    const ProgramRun result = run({QStringLiteral("--seconds"), QStringLiteral("1.5"), QStringLiteral("--frames"),
                                   QStringLiteral("--light"), elf});
    EXPECT_EQ(result.exitCode, 0) << result.errors.toStdString();
    const std::vector<SimulatorOutput::Wiring> wiring{{PortWiring::PortsKF, false}};
    EXPECT_EQ(result.all<SimulatorOutput::Wiring>(), wiring);
    const auto model = generation::SignAnimation::wiringTest(PortWiring::PortsKF);
    const auto frames = result.all<SimulatorOutput::Frame>();
    ASSERT_GE(frames.size(), 2u);
    EXPECT_EQ(frames[0].words, model.frame(0));
    SimulatorOutput::Words secondRow;
    secondRow.fill(2);
    EXPECT_EQ(frames[1].words, secondRow);
    // The light is told when it changes: the last before the second row
    // lights is the steady top row.
    std::optional<SimulatorOutput::Light> topRow;
    for (const auto& light : result.all<SimulatorOutput::Light>()) {
        if (light.microseconds < frames[1].microseconds) {
            topRow = light;
        }
    }
    ASSERT_TRUE(topRow.has_value());
    for (std::size_t column = 0; column < 64; ++column) {
        EXPECT_EQ(topRow->levels[column * 16], 15) << column;
        EXPECT_EQ(topRow->levels[column * 16 + 1], 0) << column;
    }
    EXPECT_TRUE(result.all<SimulatorOutput::Unreadable>().empty());
}

} // namespace
