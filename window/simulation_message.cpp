#include "window/simulation_message.h"

#include "window/board_message.h"

namespace window {

using board::BoardFailure;
using Fault = simulator::SimulatorOutput::Fault;

QString SimulationMessage::compiling()
{
    return tr("正在編譯輸出區的程式，準備在模擬看板上試跑…");
}

QString SimulationMessage::running()
{
    return tr("正在模擬的 Mega 2560 上執行輸出區的程式。");
}

QString SimulationMessage::running(const simulator::SimulatorOutput::Wiring& wiring)
{
    if (wiring.both) {
        return tr("正在模擬的 Mega 2560 上執行輸出區的程式：C 埠選行，K、F 埠和 B、A 埠都送出每行的字。");
    }
    if (wiring.ports == generation::PortWiring::PortsKF) {
        return tr("正在模擬的 Mega 2560 上執行輸出區的程式：C 埠選行，K、F 埠送出每行的字（面板程式的接法）。");
    }
    return tr("正在模擬的 Mega 2560 上執行輸出區的程式：C 埠選行，B、A 埠送出每行的字（bb.ino 的接法）。");
}

QString SimulationMessage::stillDark(std::uint64_t microseconds)
{
    return tr("模擬的 Mega 2560 已執行 %1 秒，程式還沒有點亮看板（C 埠還沒依序選過第 0 到 63 行）。")
        .arg(QString::number(double(microseconds) / 1e6, 'f', 1));
}

QString SimulationMessage::fault(const Fault& fault)
{
    const QString when = fault.secondsText();
    const QString causes = tr("可能是呼叫了空的函式指標、沒有處理常式的中斷或看門狗");
    switch (fault.kind) {
    case Fault::Kind::Crashed:
        return tr("模擬的 Mega 2560 在第 %1 秒當機：程式跑出了快閃記憶體（位址 %2）。").arg(when, fault.addressText());
    case Fault::Kind::InvalidOpcode:
        return tr("模擬的 Mega 2560 在第 %1 秒當機：快閃記憶體位址 %2 不是有效的指令。").arg(when, fault.addressText());
    case Fault::Kind::Restarted:
        return tr("模擬的 Mega 2560 在第 %1 秒從位址 %2 跳回位址 0，重新啟動了（%3）。")
            .arg(when, fault.addressText(), causes);
    case Fault::Kind::Resets:
        return tr("模擬的 Mega 2560 一再重新啟動：第 %1 秒起跳回位址 0 共 %2 次（%3）。")
            .arg(when)
            .arg(fault.restarts)
            .arg(causes);
    case Fault::Kind::Asleep:
        return tr("模擬的 Mega 2560 在第 %1 秒停住了：程式關閉中斷後進入睡眠（位址 %2），再也不會醒來。")
            .arg(when, fault.addressText());
    case Fault::Kind::NoColumns:
        break;
    }
    return tr("程式沒有驅動看板：%1 秒內 C 埠從沒有依序選過第 0 到 63 行。").arg(when);
}

QString SimulationMessage::ended(const board::BoardOutcome& outcome)
{
    switch (outcome.failure) {
    case BoardFailure::None:
        return tr("模擬看板的試跑結束了。");
    case BoardFailure::Cancelled:
        return tr("已停止試跑，看板停在最後的畫面。");
    case BoardFailure::CompileFailed:
        return compileFailed(outcome);
    case BoardFailure::ToolsMissing:
        return tr("找不到編譯工具。請安裝這些套件：%1（在終端機執行 sudo apt install %1）。")
            .arg(outcome.missingPackages.join(QLatin1Char(' ')));
    case BoardFailure::TimedOut:
        // Compiled, so it was the simulator that could not keep up.
        if (!outcome.hexPath.isEmpty()) {
            return tr("模擬器跑得比看板慢太多，已停止試跑。");
        }
        return tr("編譯逾時，試跑中斷了。");
    case BoardFailure::SimulatorMissing:
        return tr("找不到模擬器程式 %1，無法試跑。請重新安裝 ledmarquee。").arg(outcome.subject);
    case BoardFailure::SimulatorFailed:
        if (!outcome.toolMessage.isEmpty()) {
            return tr("模擬器無法執行這個程式：%1").arg(outcome.toolMessage);
        }
        return tr("模擬器以結束碼 %1 停止，試跑中斷了。請按「詳細資訊」看它的訊息。").arg(outcome.exitStatus);
    case BoardFailure::SimulatorUnreadable:
        // Most likely a simulator left from another version of the tool.
        return tr("模擬器寫出一行讀不懂的輸出，試跑中斷了：「%1」。模擬器和 ledmarquee 的版本可能不同，請重新安裝 ledmarquee。")
            .arg(outcome.toolMessage);
    case BoardFailure::Crashed:
    case BoardFailure::FileFailed:
        return BoardMessage::toolProblem(outcome);
    case BoardFailure::NoPort:
    case BoardFailure::PortNotFound:
    case BoardFailure::PermissionDenied:
    case BoardFailure::PortBusy:
    case BoardFailure::BoardNotAnswering:
    case BoardFailure::VerifyFailed:
    case BoardFailure::Other:
        break;
    }
    return tr("模擬器意外停止，試跑中斷了（%1）。").arg(outcome.detail);
}

QString SimulationMessage::compileFailed(const board::BoardOutcome& outcome)
{
    if (const QString problem = BoardMessage::linkProblem(outcome.buildError); !problem.isEmpty()) {
        return tr("程式無法連結：%1").arg(problem);
    }
    // The compiler's own words, as the Arduino IDE shows them.
    if (outcome.sketchLine > 0) {
        return tr("程式編譯失敗，錯誤在第 %1 行，輸出區的游標已移到那一行。編譯器說：%2")
            .arg(outcome.sketchLine)
            .arg(outcome.toolMessage);
    }
    return tr("程式編譯失敗。編譯器說：%1").arg(outcome.toolMessage.isEmpty() ? outcome.detail : outcome.toolMessage);
}

} // namespace window
