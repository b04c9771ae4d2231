#pragma once

#include "board/board_job.h"
#include "board/board_outcome.h"
#include "board/compiled_copy.h"
#include "board/job_life.h"
#include "board/process_runner.h"
#include "simulator/simulator_output.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <optional>

namespace board {

// Runs a sketch text on the simulated Mega 2560: checks that the simulator
// is there, compiles the sketch through BoardJob, as an upload does, then
// runs the simulator program on the result through a ProcessRunner and
// passes on what it says as it says it, read by SimulatorOutput. It is the
// one road the window and the command line take to the simulated board;
// what a frame, a brightness or a fault means to the user is theirs to say.
class SimulationJob : public QObject {
    Q_OBJECT
public:
    enum class Pace {
        AsFastAsItCan, // for a number of simulated seconds
        RealTime,      // in step with the clock, until cancelled
    };
    struct Request {
        Pace pace = Pace::AsFastAsItCan;
        double seconds = 0; // how long to run; 0 with RealTime: until cancelled
        bool frames = false;
        bool light = false;
    };

    explicit SimulationJob(QObject* parent = nullptr);
    ~SimulationJob() override;

    // compiled() follows once the builder is done, then what the simulated
    // board shows, then finished() exactly once, also for a failure found
    // before anything started.
    void start(const QString& sketchText, const Request& request);
    // Ends the run; finished() follows with Cancelled.
    void cancel();
    bool isRunning() const;
    // Holds the simulated board where it is, its program stopped so that it
    // uses no processor time, and lets it go on from there; on going on, the
    // simulator keeps to the clock from where it was, without racing to
    // catch up. Both do nothing unless the simulator runs; a held run that
    // is cancelled ends as any other.
    void pause();
    void resume();

signals:
    void compiled(const board::BoardOutcome& outcome);
    void wiringRecognised(const simulator::SimulatorOutput::Wiring& wiring);
    void frameShown(const simulator::SimulatorOutput::Frame& frame);
    void lightChanged(const simulator::SimulatorOutput::Light& light);
    // The board has run this long (simulated) and not lit the sign yet.
    void stillDark(std::uint64_t microseconds);
    void faulted(const simulator::SimulatorOutput::Fault& fault);
    // A run as fast as it can has come this far, in simulated time; a few
    // times a second.
    void progressed(std::uint64_t microseconds);
    // ok() when the sketch was compiled and ran, faults included. Otherwise
    // it says which way the run ended: the simulator missing, a copy that
    // failed, the simulator's own error line or exit status, a line of its
    // output this tool cannot read, its crash with the signal. The log holds
    // the builder's output and whatever the simulator said on its standard
    // error.
    void finished(const board::BoardOutcome& outcome);

private:
    void onCompiled(const BoardOutcome& outcome);
    // Keeps what the simulator says on its standard error for the log, and
    // passes on what it says on its standard output as it is read.
    void onReceived(ProcessRunner::Channel channel, const QString& text);
    void onSimulatorFinished(const ProcessRunner::Result& result);
    // Ends the run, with what the simulator said on its standard error in the log.
    void finish(BoardOutcome outcome);

    JobLife m_life;
    BoardJob m_build;
    Request m_request;
    BoardOutcome m_compiledOutcome;
    CompiledCopy m_compiledCopy; // the compiled sketch, the simulator's own copy
    simulator::SimulatorOutput m_output;
    QString m_errors;
    QString m_simulatorError;
    std::optional<QString> m_unreadableLine; // the simulator's first line that could not be read
    // Last, so that a simulator still running is stopped before its folder goes.
    ProcessRunner m_simulator;
};

} // namespace board

Q_DECLARE_METATYPE(simulator::SimulatorOutput::Wiring)
Q_DECLARE_METATYPE(simulator::SimulatorOutput::Frame)
Q_DECLARE_METATYPE(simulator::SimulatorOutput::Light)
Q_DECLARE_METATYPE(simulator::SimulatorOutput::Fault)
