#include "window/board_message.h"
#include "window/simulation_message.h"

#include <QSet>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>

namespace {

using board::BoardFailure;
using board::BoardOutcome;

// Every way a simulation can end has words of its own, with what the
// outcome kept: the path, the system's reason, the simulator's own line, the
// signal, what the linker named.
TEST(SimulationMessageTest, EachWayARunEndsIsNamedWithWhatItKept)
{
    const auto outcome = [](BoardFailure failure, auto&& fill) {
        BoardOutcome made;
        made.failure = failure;
        made.detail = QStringLiteral("English detail");
        fill(made);
        return made;
    };
    const struct {
        BoardOutcome outcome;
        std::vector<QString> phrases;
    } cases[] = {
        {outcome(BoardFailure::SimulatorMissing, [](BoardOutcome& o) { o.subject = QStringLiteral("/opt/sim"); }),
         {QStringLiteral("找不到模擬器"), QStringLiteral("/opt/sim")}},
        {outcome(BoardFailure::FileFailed,
                 [](BoardOutcome& o) {
                     o.subject = QStringLiteral("/tmp/full/sketch.ino.elf");
                     o.osError = ENOSPC;
                 }),
         {QStringLiteral("/tmp/full/sketch.ino.elf"), QStringLiteral("磁碟空間不足")}},
        {outcome(BoardFailure::SimulatorFailed, [](BoardOutcome& o) { o.toolMessage = QStringLiteral("not an ELF file"); }),
         {QStringLiteral("模擬器無法執行"), QStringLiteral("not an ELF file")}},
        {outcome(BoardFailure::SimulatorFailed, [](BoardOutcome& o) { o.exitStatus = 4; }),
         {QStringLiteral("結束碼 4")}},
        {outcome(BoardFailure::Crashed,
                 [](BoardOutcome& o) {
                     o.subject = QStringLiteral("ledmarquee-simulator");
                     o.signal = SIGSEGV;
                 }),
         {QStringLiteral("ledmarquee-simulator"), QStringLiteral("SIGSEGV")}},
        {outcome(BoardFailure::TimedOut, [](BoardOutcome& o) { o.hexPath = QStringLiteral("/tmp/sketch.ino.hex"); }),
         {QStringLiteral("模擬器跑得比看板慢")}},
        {outcome(BoardFailure::TimedOut, [](BoardOutcome&) {}), {QStringLiteral("編譯逾時")}},
        {outcome(BoardFailure::CompileFailed,
                 [](BoardOutcome& o) {
                     o.buildError.kind = board::BuildError::Kind::Undefined;
                     o.buildError.symbols = {QStringLiteral("loop")};
                 }),
         {QStringLiteral("沒有 loop() 函式")}},
        {outcome(BoardFailure::CompileFailed,
                 [](BoardOutcome& o) {
                     o.buildError.kind = board::BuildError::Kind::DefinedTwice;
                     o.buildError.symbols = {QStringLiteral("millis")};
                 }),
         {QStringLiteral("millis 定義了兩次")}},
    };
    QSet<QString> said;
    for (const auto& c : cases) {
        const QString text = window::SimulationMessage::ended(c.outcome);
        for (const QString& phrase : c.phrases) {
            EXPECT_TRUE(text.contains(phrase)) << text.toStdString() << " lacks " << phrase.toStdString();
        }
        EXPECT_FALSE(text.contains(QStringLiteral("模擬器意外停止"))) << text.toStdString();
        said.insert(text);
    }
    EXPECT_EQ(said.size(), qsizetype(std::size(cases)));

    // The window's upload line says what the linker named, too.
    BoardOutcome tooBig;
    tooBig.failure = BoardFailure::CompileFailed;
    tooBig.buildError.kind = board::BuildError::Kind::FlashFull;
    tooBig.buildError.usedBytes = 256898;
    tooBig.buildError.mostBytes = 253952;
    const QString upload = window::BoardMessage::describe(tooBig, QStringLiteral("/dev/ttyACM0"));
    EXPECT_TRUE(upload.contains(QStringLiteral("256,898"))) << upload.toStdString();
    EXPECT_TRUE(upload.contains(QStringLiteral("詳細資訊"))) << upload.toStdString();
}

} // namespace
