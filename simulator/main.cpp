// ledmarquee-simulator: runs a compiled sketch on the simulated Mega 2560 and
// writes what the sign shows, in the lines SimulatorOutput reads back.
//
//   ledmarquee-simulator [--seconds S] [--real-time] [--frames] [--light] SKETCH
//
// SKETCH is the builder's ELF or Intel HEX. Without --real-time the board
// runs as fast as it can for S simulated seconds; with it, in step with the
// clock until S seconds or until it is stopped (SIGTERM). --frames writes
// each frame whose picture differs from the one before, --light the LEDs'
// brightness over every 1/50 s whenever it changes. The wiring and any fault
// are always written, and the run ends with an end line.
//
// It runs as a child of the window or the command line, so that whatever
// the sketch or simavr does ends here. Exit status: 0 done, 1 the sketch
// faulted, 2 a usage error, 3 the sketch could not be loaded.
#include "board/sign_reader.h"
#include "board/simulated_mega.h"
#include "board/simulator_output.h"

#include <QFile>
#include <QString>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <thread>

#include <sys/prctl.h>
#include <unistd.h>

namespace {

using board::SignReader;
using board::SimulatedMega;
using board::SimulatorOutput;
using Clock = std::chrono::steady_clock;

constexpr std::uint64_t kFrequency = SimulatedMega::kFrequency;
// The board runs in slices of 1 ms, between which faults are looked for
// and the clock is kept.
constexpr std::uint64_t kSlice = kFrequency / 1000;
constexpr std::uint64_t kLightPeriod = kFrequency / 50;
// A sketch that has not passed over the 64 columns by then does not drive
// the sign at all.
constexpr std::uint64_t kColumnsDue = 2 * kFrequency;
// After a restart the board runs on this long, to tell one restart from a
// sketch that restarts over and over.
constexpr std::uint64_t kRestartWatch = kFrequency;
constexpr int kResetsOverAndOver = 3;
// Behind the clock by more than this (the machine was busy), the run
// carries on from where it is instead of racing to catch up.
constexpr auto kMostBehind = std::chrono::milliseconds(100);

volatile std::sig_atomic_t stopRequested = 0;

void onStop(int)
{
    stopRequested = 1;
}

struct Options {
    double seconds = 0;
    bool realTime = false;
    bool frames = false;
    bool light = false;
    QString sketch;
};

std::optional<Options> parse(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--seconds" && i + 1 < argc) {
            char* end = nullptr;
            options.seconds = std::strtod(argv[++i], &end);
            if (*end != '\0' || !(options.seconds > 0)) {
                return std::nullopt;
            }
        } else if (argument == "--real-time") {
            options.realTime = true;
        } else if (argument == "--frames") {
            options.frames = true;
        } else if (argument == "--light") {
            options.light = true;
        } else if (argument.starts_with("-") || !options.sketch.isEmpty()) {
            return std::nullopt;
        } else {
            options.sketch = QFile::decodeName(argv[i]);
        }
    }
    if (options.sketch.isEmpty() || (!options.realTime && options.seconds == 0)) {
        return std::nullopt;
    }
    return options;
}

bool isElf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(4) == QByteArray("\x7f" "ELF", 4);
}

// The lines go to the output the parent reads; simavr prints to standard
// output of its own accord, so that goes to standard error instead.
class Lines {
public:
    Lines()
    {
        const int protocol = dup(STDOUT_FILENO);
        dup2(STDERR_FILENO, STDOUT_FILENO);
        m_file = fdopen(protocol, "w");
        std::setvbuf(m_file, nullptr, _IOFBF, 1 << 16);
    }

    void write(const std::string& line, bool now)
    {
        std::fwrite(line.data(), 1, line.size(), m_file);
        if (now) {
            std::fflush(m_file);
        }
    }

    // Frames written as fast as the board runs reach the reader in batches.
    void flushNowAndThen()
    {
        if (const auto now = Clock::now(); now - m_flushed > std::chrono::milliseconds(50)) {
            std::fflush(m_file);
            m_flushed = now;
        }
    }

    ~Lines() { std::fclose(m_file); }

private:
    std::FILE* m_file = nullptr;
    Clock::time_point m_flushed = Clock::now();
};

std::uint64_t microseconds(std::uint64_t cycle)
{
    return cycle / (kFrequency / 1000000);
}

SimulatorOutput::Fault haltFault(const SimulatedMega& mega)
{
    using Kind = SimulatorOutput::Fault::Kind;
    SimulatorOutput::Fault fault;
    switch (mega.halt()) {
    case SimulatedMega::Halt::InvalidOpcode:
        fault.kind = Kind::InvalidOpcode;
        break;
    case SimulatedMega::Halt::Asleep:
        fault.kind = Kind::Asleep;
        break;
    case SimulatedMega::Halt::None:
    case SimulatedMega::Halt::Crashed:
        fault.kind = Kind::Crashed;
        break;
    }
    fault.microseconds = microseconds(mega.cycle());
    fault.address = mega.haltAddress();
    return fault;
}

} // namespace

int main(int argc, char** argv)
{
    // Ends with the window or command line that started it, however they end.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    std::signal(SIGTERM, onStop);
    std::signal(SIGINT, onStop);
    Lines lines;

    const auto options = parse(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: ledmarquee-simulator [--seconds S] [--real-time] [--frames] [--light] SKETCH\n");
        return 2;
    }

    SimulatedMega mega;
    QString error;
    if (!(isElf(options->sketch) ? mega.loadElf(options->sketch, &error) : mega.loadHex(options->sketch, &error))) {
        lines.write(SimulatorOutput::errorLine(error.toStdString()), true);
        return 3;
    }

    SignReader reader;
    std::optional<SimulatorOutput::Wiring> wiring;
    const auto noteWiring = [&] {
        if (reader.wiring() != wiring) {
            wiring = reader.wiring();
            lines.write(SimulatorOutput::wiringLine(*wiring), options->realTime);
        }
    };
    std::optional<SimulatorOutput::Words> lastWords;
    if (options->frames) {
        reader.onFrame([&](const SimulatorOutput::Frame& frame) {
            if (frame.words != lastWords) {
                noteWiring();
                lastWords = frame.words;
                lines.write(SimulatorOutput::frameLine(frame), options->realTime);
            }
        });
    }
    if (options->light) {
        reader.onLight(kLightPeriod, [&](const SimulatorOutput::Light& light) {
            noteWiring();
            lines.write(SimulatorOutput::lightLine(light), options->realTime);
        });
    }
    mega.watchPorts(SignReader::kPorts, reader);

    const std::uint64_t limit = options->seconds > 0
        ? static_cast<std::uint64_t>(options->seconds * double(kFrequency))
        : std::numeric_limits<std::uint64_t>::max();
    std::optional<SimulatorOutput::Fault> fault;
    std::uint64_t firstRestart = 0;
    const auto restartFault = [&] {
        SimulatorOutput::Fault restarted;
        restarted.kind = mega.restarts() >= kResetsOverAndOver ? SimulatorOutput::Fault::Kind::Resets
                                                               : SimulatorOutput::Fault::Kind::Restarted;
        restarted.microseconds = microseconds(firstRestart);
        restarted.address = mega.lastRestartFrom();
        restarted.restarts = mega.restarts();
        return restarted;
    };
    auto clockStart = Clock::now();
    while (stopRequested == 0 && mega.cycle() < limit) {
        const bool running = mega.run(std::min(kSlice, limit - mega.cycle()));
        reader.advance(mega.cycle());
        if (!running) {
            fault = haltFault(mega);
            break;
        }
        if (mega.restarts() > 0 && firstRestart == 0) {
            firstRestart = mega.lastRestartCycle();
        }
        if (firstRestart > 0 && mega.cycle() - firstRestart >= kRestartWatch) {
            fault = restartFault();
            break;
        }
        if (reader.frames() == 0 && mega.cycle() >= kColumnsDue) {
            fault = SimulatorOutput::Fault{SimulatorOutput::Fault::Kind::NoColumns, microseconds(mega.cycle()), 0, 0};
            break;
        }
        if (options->realTime) {
            const auto due = clockStart + std::chrono::nanoseconds(mega.cycle() * 1000 / (kFrequency / 1000000));
            const auto now = Clock::now();
            if (due > now) {
                std::this_thread::sleep_for(due - now);
            } else if (now - due > kMostBehind) {
                clockStart += now - due;
            }
        } else {
            lines.flushNowAndThen();
        }
    }
    if (!fault && firstRestart > 0) {
        fault = restartFault();
    }
    if (!fault && reader.frames() == 0 && stopRequested == 0) {
        fault = SimulatorOutput::Fault{SimulatorOutput::Fault::Kind::NoColumns, microseconds(mega.cycle()), 0, 0};
    }
    if (reader.wiring()) {
        noteWiring();
    }
    if (fault) {
        lines.write(SimulatorOutput::faultLine(*fault), true);
    }
    lines.write(SimulatorOutput::endLine(microseconds(mega.cycle())), true);
    return fault ? 1 : 0;
}
