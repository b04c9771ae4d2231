// How fast the simulated Mega 2560 runs a compiled sketch, in multiples of
// real time, three ways on the same ELF file: simavr's bare run loop (what
// its own run_avr does), the simulator's SimulatedMega handing every port write
// to the SignReader that reads the sign's frames, and nothing else.
// The simulator program and --simulate are timed from outside
// (bench/simulate-figures).
//
//   ledmarquee-simulate-speed SKETCH.elf SECONDS
#include "simulator/sign_reader.h"
#include "simulator/simulated_mega.h"

#include "generation/board_timing.h"

extern "C" {
#include <sim_avr.h>
#include <sim_elf.h>
}

#include <QString>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kFrequency = generation::BoardTiming::kClockHertz;

void report(const char* what, double seconds, std::chrono::duration<double> took)
{
    std::printf("%-44s %5.2f x real time (%.0f Mcycles/s)\n", what, seconds / took.count(),
                seconds * kFrequency / took.count() / 1e6);
}

double rawLoop(const char* elf, double seconds)
{
    avr_t* avr = avr_make_mcu_by_name("atmega2560");
    avr_init(avr);
    elf_firmware_t firmware{};
    if (elf_read_firmware(elf, &firmware) != 0) {
        std::fprintf(stderr, "cannot read %s\n", elf);
        std::exit(1);
    }
    avr_load_firmware(avr, &firmware);
    avr->frequency = static_cast<std::uint32_t>(kFrequency);
    const auto until = static_cast<avr_cycle_count_t>(seconds * kFrequency);
    const auto start = Clock::now();
    while (avr->cycle < until) {
        const int state = avr_run(avr);
        if (state == cpu_Done || state == cpu_Crashed) {
            break;
        }
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double readSign(const char* elf, double seconds, std::uint64_t* frames)
{
    simulator::SimulatedMega mega;
    QString error;
    if (!mega.loadElf(QString::fromLocal8Bit(elf), &error)) {
        std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
        std::exit(1);
    }
    simulator::SignReader reader;
    mega.watchPorts(simulator::SignReader::kPorts, reader);
    const auto until = static_cast<std::uint64_t>(seconds * kFrequency);
    const auto start = Clock::now();
    while (mega.cycle() < until && mega.run(16000)) {
        reader.advance(mega.cycle());
    }
    *frames = reader.frames();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: ledmarquee-simulate-speed SKETCH.elf SECONDS\n");
        return 2;
    }
    const double seconds = std::atof(argv[2]);
    // simavr's chatter stays out of the figures (SimulatedMega puts its own
    // quiet logger in place too).
    avr_global_logger_set([](avr_t*, const int, const char*, va_list) {});
    // The two in turn, twice, so that a busy moment weighs on both alike.
    for (int round = 0; round < 2; ++round) {
        report("simavr's bare run loop", seconds, std::chrono::duration<double>(rawLoop(argv[1], seconds)));
        std::uint64_t frames = 0;
        const double took = readSign(argv[1], seconds, &frames);
        report("SimulatedMega + SignReader, in process", seconds, std::chrono::duration<double>(took));
        if (round == 0) {
            std::printf("  (%llu frames read)\n", static_cast<unsigned long long>(frames));
        }
    }
    return 0;
}
