#include "cli/command_line.h"

#include "cli/board_commands.h"
#include "cli/error_line.h"
#include "cli/option_table.h"
#include "cli/simulate_command.h"
#include "cli/sketch_file.h"
#include "cli/sketch_maker.h"
#include "cli/tee_line_file.h"
#include "cli/usage_error.h"
#include "generation/sketch_error.h"
#include "generation/string_line_file.h"
#include "platform/output_file.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <new>

namespace cli {

int CommandLine::run(const QStringList& arguments)
{
    OptionTable table;
    try {
        return runCommand(table.parse(arguments), table);
    } catch (const UsageError& error) {
        printError(QString::fromUtf8(error.what()));
        std::fputs("Try 'ledmarquee-cli --help' for more information.\n", stderr);
        return kUsageError;
    } catch (const generation::SketchError& error) {
        printError(QStringLiteral("error %1: %2").arg(error.number()).arg(QString::fromUtf8(error.what())));
        return kFailed;
    } catch (const std::bad_alloc&) {
        printError(QStringLiteral("error %1: Out of memory").arg(generation::SketchError::kOutOfMemory));
        return kFailed;
    } catch (const std::exception& error) {
        printError(QStringLiteral("error %1: Internal error: %2")
                       .arg(generation::SketchError::kInternal)
                       .arg(QString::fromLocal8Bit(error.what())));
        return kFailed;
    }
}

int CommandLine::runCommand(const Options& options, const OptionTable& table)
{
    switch (options.command) {
    case Options::Command::Help:
        std::fputs(table.helpText().toUtf8().constData(), stdout);
        return kOk;
    case Options::Command::Version:
        std::printf("ledmarquee-cli %s\n", LEDMARQUEE_VERSION);
        return kOk;
    case Options::Command::ListPorts:
        return BoardCommands::listPorts();
    case Options::Command::SimulateFile:
        return SimulateCommand::run(options.simulateSeconds, SketchFile::read(*options.sketch));
    case Options::Command::Simulate:
        return simulate(options);
    case Options::Command::SendToBoard:
        return sendToBoard(options);
    case Options::Command::WriteSketch:
        break;
    }
    return writeSketch(options);
}

int CommandLine::writeSketch(const Options& options)
{
    SketchMaker maker(options);
    // Written as it is made, so a long message's sketch is never held whole.
    const auto output = maker.openFile(options.output.value_or(QString::fromLatin1(platform::OutputFile::kStandardOutput)));
    maker.write(*output);
    output->commit();
    return kOk;
}

int CommandLine::sendToBoard(const Options& options)
{
    SketchMaker maker(options);
    std::unique_ptr<platform::OutputFile> hex;
    const std::string text = sketchForTools(options, maker, [&] {
        if (options.hex) {
            hex = std::make_unique<platform::OutputFile>(*options.hex);
        }
    });
    return BoardCommands::send(options, text, hex.get());
}

int CommandLine::simulate(const Options& options)
{
    SketchMaker maker(options);
    return SimulateCommand::run(options.simulateSeconds, QString::fromStdString(sketchForTools(options, maker, [] {})));
}

std::string CommandLine::sketchForTools(const Options& options, SketchMaker& maker,
                                        const std::function<void()>& openOutputs)
{
    // The board tools take the sketch whole, as UTF-8 (a Big5 file sketch
    // is the same text); it goes to --output too only when one is given.
    // Outputs, --hex's too, are opened first, so a path that cannot be
    // written is reported before any drawing or compiling.
    std::unique_ptr<generation::LineFile> output;
    if (options.output) {
        output = maker.openFile(*options.output);
    }
    openOutputs();
    generation::StringLineFile text;
    TeeLineFile both(text, output.get());
    maker.write(both);
    if (output) {
        output->commit();
    }
    return text.take();
}

} // namespace cli
