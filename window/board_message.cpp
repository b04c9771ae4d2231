#include "window/board_message.h"

namespace window {

using board::BoardFailure;

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
        if (outcome.sketchLine > 0) {
            return tr("程式編譯失敗，錯誤在第 %1 行。請修正後再上傳；按「詳細資訊」可看編譯器的訊息。")
                .arg(outcome.sketchLine);
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
        return tr("上傳逾時，看板沒有及時回應。請確認連接埠和 USB 線，再試一次。");
    case BoardFailure::Cancelled:
        return tr("已取消上傳。");
    case BoardFailure::Other:
        break;
    }
    return tr("上傳失敗（%1）。請按「詳細資訊」看完整的輸出。").arg(outcome.detail);
}

} // namespace window
