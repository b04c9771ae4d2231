#include "window/board_message.h"

#include "generation/board_memory.h"
#include "platform/os_failure.h"
#include "window/error_message.h"
#include "window/taiwan_number.h"


#include <cstring>

namespace window {

using board::BoardFailure;
using Kind = board::BuildError::Kind;

namespace {

QString names(const QStringList& symbols)
{
    return symbols.join(QStringLiteral("、"));
}

} // namespace

QString BoardMessage::linkProblem(const board::BuildError& error)
{
    const bool sized = error.usedBytes >= 0 && error.mostBytes >= 0;
    switch (error.kind) {
    case Kind::Undefined:
        if (error.lacksSetupOrLoop()) {
            return tr("程式裡沒有 %1 函式；每個 Arduino 程式都要有 setup() 和 loop()。")
                .arg(error.symbols.join(QStringLiteral("() 和 ")) + QStringLiteral("()"));
        }
        return tr("程式用到了 %1，卻沒有在任何地方定義它。").arg(names(error.symbols));
    case Kind::DefinedTwice:
        return tr("%1 定義了兩次（Arduino 核心可能已經定義過它）。").arg(names(error.symbols));
    case Kind::FlashFull:
        if (sized) {
            return tr("程式太大，放不進 Mega 2560 的快閃記憶體：需要 %1 位元組，最多 %2 位元組。")
                .arg(taiwanNumber(error.usedBytes), taiwanNumber(error.mostBytes));
        }
        return tr("程式太大，放不進 Mega 2560 的快閃記憶體。");
    case Kind::SramFull:
        if (sized) {
            return tr("程式的變數太多，放不進 Mega 2560 的 SRAM：需要 %1 位元組，最多 %2 位元組。")
                .arg(taiwanNumber(error.usedBytes), taiwanNumber(error.mostBytes));
        }
        return tr("程式的變數太多，放不進 Mega 2560 的 %1 位元組 SRAM。")
            .arg(taiwanNumber(int(generation::BoardMemory::kSramBytes)));
    case Kind::Unknown:
    case Kind::Compiler:
        break;
    }
    return {};
}

QString BoardMessage::toolProblem(const board::BoardOutcome& outcome)
{
    switch (outcome.failure) {
    case BoardFailure::Crashed:
        return tr("%1 被訊號 SIG%2（%3）中止了，這不是程式的錯。請再試一次。")
            .arg(outcome.subject, QString::fromLatin1(::sigabbrev_np(outcome.signal)))
            .arg(outcome.signal);
    case BoardFailure::FileFailed:
        return tr("無法建立或寫入需要的檔案。") + QLatin1Char('\n')
               + ErrorMessage::forError(platform::osFailure(outcome.osError, QString(), outcome.subject));
    default:
        break;
    }
    return {};
}

QString BoardMessage::describe(const board::BoardOutcome& outcome, const QString& port)
{
    switch (outcome.failure) {
    case BoardFailure::None:
        if (outcome.flashBytes >= 0 && outcome.sramBytes >= 0) {
            return tr("上傳完成，看板上的程式已核對無誤。程式佔快閃記憶體 %1 位元組，變數佔 %2 位元組。")
                .arg(outcome.flashBytes)
                .arg(outcome.sramBytes);
        }
        return tr("上傳完成，看板上的程式已核對無誤。");
    case BoardFailure::ToolsMissing:
        return tr("找不到編譯或燒錄工具。請安裝這些套件：%1（在終端機執行 sudo apt install %1）。")
            .arg(outcome.missingPackages.join(QLatin1Char(' ')));
    case BoardFailure::CompileFailed:
        if (const QString problem = linkProblem(outcome.buildError); !problem.isEmpty()) {
            return tr("程式無法連結：%1請修正後再上傳；按「詳細資訊」可看完整的訊息。").arg(problem);
        }
        if (outcome.sketchLine > 0) {
            return tr("程式編譯失敗，錯誤在第 %1 行。請修正後再上傳；按「詳細資訊」可看編譯器的訊息。")
                .arg(outcome.sketchLine);
        }
        if (!outcome.toolMessage.isEmpty()) {
            return tr("程式編譯失敗。編譯器說：%1。請按「詳細資訊」看完整的訊息。").arg(outcome.toolMessage);
        }
        return tr("程式編譯失敗。請按「詳細資訊」看編譯器的訊息。");
    case BoardFailure::NoPort:
        return tr("還沒有選連接埠。請用 USB 線接上看板，再從「連接埠」清單選一個，或直接輸入路徑，例如 /dev/ttyACM0。");
    case BoardFailure::PortNotFound:
        return tr("找不到連接埠 %1。請確認看板已用 USB 線接上，或從清單另選一個連接埠。").arg(port);
    case BoardFailure::PermissionDenied:
        return tr("沒有權限使用連接埠 %1。請把自己加入 dialout 群組：在終端機執行 sudo usermod -aG dialout $USER，然後登出再登入。")
            .arg(port);
    case BoardFailure::PortBusy:
        return tr("連接埠 %1 正被別的程式使用（例如序列埠監控視窗）。請先關掉那個程式再上傳。").arg(port);
    case BoardFailure::BoardNotAnswering:
        return tr("看板沒有回應。請確認選的是 Arduino Mega 2560 的連接埠，並檢查 USB 線是否接好。");
    case BoardFailure::VerifyFailed:
        return tr("寫入後核對不符，看板上的程式可能不完整。請再上傳一次；仍然失敗時請換一條 USB 線。");
    case BoardFailure::TimedOut:
        if (outcome.hexPath.isEmpty()) {
            return tr("編譯逾時，沒有上傳。請再試一次。");
        }
        return tr("上傳逾時，看板沒有及時回應。請確認連接埠和 USB 線，再試一次。");
    case BoardFailure::Cancelled:
        return tr("已取消上傳。");
    case BoardFailure::Crashed:
    case BoardFailure::FileFailed:
        return toolProblem(outcome);
    case BoardFailure::SimulatorMissing:
    case BoardFailure::SimulatorFailed:
    case BoardFailure::SimulatorUnreadable:
    case BoardFailure::Other:
        break;
    }
    return tr("上傳失敗（%1）。請按「詳細資訊」看完整的輸出。").arg(outcome.detail);
}

} // namespace window
