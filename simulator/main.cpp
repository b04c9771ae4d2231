// ledmarquee-simulator: runs a compiled sketch on the simulated Mega 2560 and
// writes what the sign shows, in the lines SimulatorOutput reads back.
//
//   ledmarquee-simulator [--seconds S] [--real-time] [--frames] [--light] SKETCH
//
// SKETCH is the builder's ELF or Intel HEX. Without --real-time the board
// runs as fast as it can for S simulated seconds; with it, in step with the
// clock until S seconds or, without --seconds, until it is stopped
// (SIGTERM). --frames writes each frame whose picture differs from the one
// before, --light the LEDs' brightness over every 1/50 s whenever it
// changes. The wiring (once the sketch scans the sign), every half second
// that the sign is still dark, and any fault are always written, and the run
// ends with an end line.
//
// A sketch that has not passed over the sign's columns yet is still
// starting, as one that waits in setup() does: a run of S seconds calls it
// a fault only at its end, and a run without a length never does.
//
// It runs as a child of the window or the command line, so that whatever
// the sketch or simavr does ends here. Exit status: 0 done, 1 the sketch
// faulted, 2 a usage error, 3 the sketch could not be loaded, 4 the
// simulator itself failed (its error line says how).
#include "generation/board_timing.h"
#include "simulator/sign_reader.h"
#include "simulator/simulated_mega.h"
#include "simulator/simulator_output.h"

#include <QFile>
#include <QString>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <limits>
#include <optional>
#include <string>
#include <thread>

#include <sys/prctl.h>
#include <unistd.h>

namespace {

using simulator::SignReader;
using simulator::SimulatedMega;
using simulator::SimulatorOutput;
using Clock = std::chrono::steady_clock;

constexpr std::uint64_t kFrequency = generation::BoardTiming::kClockHertz;
constexpr auto kCyclesPerMicrosecond = static_cast<std::uint64_t>(generation::BoardTiming::kCyclesPerMicrosecond);
// The board runs in slices of 1 ms, between which faults are looked for
// and the clock is kept.
constexpr std::uint64_t kSlice = kFrequency / 1000;
constexpr std::uint64_t kLightPeriod = kFrequency / 50;
constexpr std::uint64_t kDarkEvery = SimulatorOutput::kDarkEveryMicroseconds * kCyclesPerMicrosecond;
// After a restart the board runs on this long, to tell one restart from a
// sketch that restarts over and over.
constexpr std::uint64_t kRestartWatch = kFrequency;
constexpr int kResetsOverAndOver = 3;
// Behind the clock by more than this (the machine was busy), the run
// carries on from where it is instead of racing to catch up.
constexpr auto kMostBehind = std::chrono::milliseconds(100);

constexpr int kDone = 0;
constexpr int kFaulted = 1;
constexpr int kUsage = 2;
constexpr int kNotLoaded = 3;
constexpr int kFailed = 4;

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
    explicit Lines(bool now) : m_now(now)
    {
        const int protocol = dup(STDOUT_FILENO);
        dup2(STDERR_FILENO, STDOUT_FILENO);
        m_file = fdopen(protocol, "w");
        std::setvbuf(m_file, nullptr, _IOFBF, 1 << 16);
    }

    // A run in step with the clock writes each line as it happens; one as
    // fast as it can, in batches, except for the last lines.
    void write(const std::string& line, bool now = false)
    {
        std::fwrite(line.data(), 1, line.size(), m_file);
        if (now || m_now) {
            std::fflush(m_file);
        }
    }

    // Frames written as fast as the board runs reach the reader in batches,
    // each ending with how far the run has come.
    void flushNowAndThen(std::uint64_t reached)
    {
        if (const auto at = Clock::now(); at - m_flushed > std::chrono::milliseconds(50)) {
            // A run in step with the clock needs no word of how far it is.
            if (!m_now) {
                const std::string progress = SimulatorOutput::progressLine(reached);
                std::fwrite(progress.data(), 1, progress.size(), m_file);
            }
            std::fflush(m_file);
            m_flushed = at;
        }
    }

    ~Lines() { std::fclose(m_file); }
    Lines(const Lines&) = delete;
    Lines& operator=(const Lines&) = delete;

private:
    std::FILE* m_file = nullptr;
    bool m_now = false;
    Clock::time_point m_flushed = Clock::now();
};

std::uint64_t microseconds(std::uint64_t cycle)
{
    return cycle / kCyclesPerMicrosecond;
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
    case SimulatedMega::Halt::ToolFailed:
        fault.kind = Kind::Crashed;
        break;
    }
    fault.microseconds = microseconds(mega.cycle());
    fault.address = mega.haltAddress();
    return fault;
}

// Keeps the board in step with the clock, or lets it run ahead.
class Pace {
public:
    explicit Pace(bool realTime) : m_realTime(realTime) {}

    void keep(std::uint64_t cycle)
    {
        if (!m_realTime) {
            return;
        }
        const auto due = m_start + std::chrono::nanoseconds(cycle * 1000 / kCyclesPerMicrosecond);
        const auto now = Clock::now();
        if (due > now) {
            std::this_thread::sleep_for(due - now);
        } else if (now - due > kMostBehind) {
            m_start += now - due;
        }
    }

private:
    bool m_realTime;
    Clock::time_point m_start = Clock::now();
};

// Runs the loaded board until its time is up, it is stopped, or the sketch
// faults, writing what the sign shows as it goes; returns the exit status.
int runBoard(SimulatedMega& mega, const Options& options, Lines& lines)
{
    SignReader reader;
    // The wiring is news once the sketch scans the sign, and again if it changes.
    std::optional<SimulatorOutput::Wiring> wiring;
    const auto noteWiring = [&] {
        if (reader.frames() > 0 && reader.wiring() && reader.wiring() != wiring) {
            wiring = reader.wiring();
            lines.write(SimulatorOutput::wiringLine(*wiring));
        }
    };
    std::optional<SimulatorOutput::Words> lastWords;
    if (options.frames) {
        reader.onFrame([&](const SimulatorOutput::Frame& frame) {
            if (frame.words != lastWords) {
                noteWiring();
                lastWords = frame.words;
                lines.write(SimulatorOutput::frameLine(frame));
            }
        });
    }
    if (options.light) {
        reader.onLight(kLightPeriod, [&](const SimulatorOutput::Light& light) {
            noteWiring();
            lines.write(SimulatorOutput::lightLine(light));
        });
    }
    mega.watchPorts(SignReader::kPorts, reader);

    // Without a length the run goes on until it is stopped.
    const bool lengthGiven = options.seconds > 0;
    const std::uint64_t limit = lengthGiven ? static_cast<std::uint64_t>(options.seconds * double(kFrequency))
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
    std::uint64_t nextDark = kDarkEvery;
    Pace pace(options.realTime);
    while (stopRequested == 0 && mega.cycle() < limit) {
        const bool running = mega.run(std::min(kSlice, limit - mega.cycle()));
        reader.advance(mega.cycle());
        if (mega.halt() == SimulatedMega::Halt::ToolFailed) {
            lines.write(SimulatorOutput::errorLine(mega.toolError()), true);
            return kFailed;
        }
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
        if (reader.frames() == 0 && mega.cycle() >= nextDark) {
            lines.write(SimulatorOutput::darkLine(microseconds(mega.cycle())));
            nextDark += kDarkEvery;
        }
        pace.keep(mega.cycle());
        lines.flushNowAndThen(microseconds(mega.cycle()));
    }
    if (!fault && firstRestart > 0) {
        fault = restartFault();
    }
    // A run of a given length that never lit the sign did not drive it; one
    // that was stopped, or had no length, may simply not have got there yet.
    if (!fault && reader.frames() == 0 && lengthGiven && mega.cycle() >= limit) {
        fault = SimulatorOutput::Fault{SimulatorOutput::Fault::Kind::NoColumns, microseconds(mega.cycle()), 0, 0};
    }
    noteWiring();
    if (fault) {
        lines.write(SimulatorOutput::faultLine(*fault), true);
    }
    lines.write(SimulatorOutput::endLine(microseconds(mega.cycle())), true);
    return fault ? kFaulted : kDone;
}

} // namespace

int main(int argc, char** argv)
{
    // Ends with the window or command line that started it, however they end.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    std::signal(SIGTERM, onStop);
    std::signal(SIGINT, onStop);

    const auto options = parse(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: ledmarquee-simulator [--seconds S] [--real-time] [--frames] [--light] SKETCH\n");
        return kUsage;
    }
    Lines lines(options->realTime);
    try {
        SimulatedMega mega;
        QString error;
        if (!(isElf(options->sketch) ? mega.loadElf(options->sketch, &error)
                                     : mega.loadHex(options->sketch, &error))) {
            lines.write(SimulatorOutput::errorLine(error.toStdString()), true);
            return kNotLoaded;
        }
        return runBoard(mega, *options, lines);
    } catch (const std::exception& failure) {
        lines.write(SimulatorOutput::errorLine(failure.what()), true);
        return kFailed;
    }
}
