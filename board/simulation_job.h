#pragma once

#include "board/board_outcome.h"
#include "board/simulator_output.h"
#include "board/sketch_compiler.h"

#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringDecoder>

#include <memory>

class QTemporaryDir;

namespace board {

// Runs a sketch text on the simulated Mega 2560: compiles it with the same
// builder and flags as an upload, then runs the simulator program on the
// result and passes on what it says as it says it. It is the one road the
// window and the command line take to the simulated board; what a frame,
// a brightness or a fault means to the user is theirs to say.
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

    SketchCompiler& compiler() { return m_compiler; }

signals:
    void compiled(const board::BoardOutcome& outcome);
    void wiringRecognised(board::SimulatorOutput::Wiring wiring);
    void frameShown(const board::SimulatorOutput::Frame& frame);
    void lightChanged(const board::SimulatorOutput::Light& light);
    void faulted(const board::SimulatorOutput::Fault& fault);
    // ok() when the sketch was compiled and ran, faults included; the
    // log holds the builder's output and whatever the simulator said on
    // its standard error.
    void finished(const board::BoardOutcome& outcome);

private:
    void onCompiled(const BoardOutcome& outcome);
    void startSimulator(const QString& program);
    void readSimulator();
    void onSimulatorFinished(int exitCode, QProcess::ExitStatus status);
    void finish(BoardOutcome outcome);
    void stopSimulator();

    SketchCompiler m_compiler;
    Request m_request;
    BoardOutcome m_compiledOutcome;
    std::unique_ptr<QTemporaryDir> m_folder; // the compiled sketch, the simulator's own copy
    QProcess* m_process = nullptr;
    QStringDecoder m_decoder{QStringDecoder::Utf8};
    SimulatorOutput m_output;
    QString m_errors;
    QString m_simulatorError;
    bool m_running = false;
    bool m_cancelled = false;
};

} // namespace board

Q_DECLARE_METATYPE(board::SimulatorOutput::Wiring)
Q_DECLARE_METATYPE(board::SimulatorOutput::Frame)
Q_DECLARE_METATYPE(board::SimulatorOutput::Light)
Q_DECLARE_METATYPE(board::SimulatorOutput::Fault)
