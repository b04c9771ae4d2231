#include "window/error_message.h"

#include "generation/marquee_shape.h"
#include "platform/text_conversion.h"
#include "window/taiwan_number.h"

#include <QDir>

#include <cerrno>
#include <cstring>

namespace window {

using generation::SketchError;

QString ErrorMessage::kind(int number)
{
    switch (number) {
    case SketchError::kOutOfMemory:
        return tr("記憶體不足");
    case SketchError::kDeviceIo:
        return tr("裝置 I/O 錯誤");
    case SketchError::kDiskFull:
        return tr("磁碟已滿");
    case SketchError::kPathAccess:
        return tr("路徑/檔案存取錯誤");
    case SketchError::kPathNotFound:
        return tr("找不到路徑");
    case SketchError::kClipboard:
        return tr("無法開啟剪貼簿");
    case SketchError::kInvalidPicture:
        return tr("圖片無效");
    default:
        return tr("內部錯誤");
    }
}

QString ErrorMessage::reason(int osError, bool reading)
{
    // A file read is left as it was; only a write has an earlier file to keep.
    if (reading) {
        switch (osError) {
        case EACCES:
        case EPERM:
            return tr("沒有讀取的權限");
        case EIO:
            return tr("讀取時發生輸入/輸出錯誤");
        default:
            break;
        }
    }
    switch (osError) {
    case ENOENT:
        return tr("不存在");
    case ENOTDIR:
        return tr("是檔案，不是資料夾");
    case EISDIR:
        return tr("是資料夾，不是檔案");
    case EACCES:
    case EPERM:
        return tr("沒有寫入的權限");
    case EROFS:
        return tr("位於唯讀的檔案系統");
    case ENOSPC:
        return tr("磁碟空間不足，原有的檔案保持不變");
    case EDQUOT:
        return tr("超過磁碟配額，原有的檔案保持不變");
    case EFBIG:
        return tr("檔案超過系統允許的大小，原有的檔案保持不變");
    case EIO:
        return tr("輸入/輸出錯誤，原有的檔案保持不變");
    case EILSEQ:
        return tr("有文字無法以 Big5 表示，原有的檔案保持不變");
    default:
        return tr("系統錯誤 %1（%2）").arg(osError).arg(QString::fromLocal8Bit(std::strerror(osError)));
    }
}

QString ErrorMessage::forError(const SketchError& error)
{
    QString text = tr("錯誤 %1：%2").arg(error.number()).arg(kind(error.number()));
    if (error.messageColumns() > 0) {
        return text + QLatin1Char('\n') + tooWide(error.messageColumns(), error.mostColumns());
    }
    if (error.number() == SketchError::kInvalidPicture) {
        return text + QLatin1Char('\n') + invalidPicture(error);
    }
    const QString subject = QDir::toNativeSeparators(platform::fromUtf8(error.subject()));
    if (error.osError() != 0 && !subject.isEmpty()) {
        text += QLatin1Char('\n') + tr("%1 %2").arg(subject, reason(error.osError(), error.reading()));
    } else if (error.osError() != 0) {
        text += QLatin1Char('\n') + reason(error.osError(), error.reading());
    } else if (!subject.isEmpty()) {
        text += QLatin1Char('\n') + subject;
    }
    return text;
}

QString ErrorMessage::tooWide(std::size_t columns, std::size_t mostColumns)
{
    // It is the board's memory that is short, not the computer's.
    const auto number = [](std::size_t n) { return taiwanNumber(n); };
    constexpr std::size_t kCharacter = generation::MarqueeShape::kCharacterColumns;
    return tr("整段訊息放不進看板的快閃記憶體：訊息有 %1 欄寬（約 %2 個中文字），"
              "Mega 2560 最多放 %3 欄（約 %4 個中文字）。請把訊息縮短到約 %4 個字以內。")
        .arg(number(columns), number(columns / kCharacter), number(mostColumns), number(mostColumns / kCharacter));
}

QString ErrorMessage::invalidPicture(const SketchError& error)
{
    if (const auto& place = error.markPlace()) {
        return tr("%1的第 %2 個圖片標記沒有圖片（框裡畫成打叉的虛線框）。請刪掉它，或選取它後按「插入圖片…」放上圖片。")
            .arg(place->inTitle ? tr("標題") : tr("訊息"))
            .arg(place->number);
    }
    const QString file = QDir::toNativeSeparators(platform::fromUtf8(error.subject()));
    if (error.pictureColumns() > 0) {
        return tr("%1 縮放到 16 列高時有 %2 欄寬，看板最多只收 %3 欄寬的圖片。")
            .arg(file, taiwanNumber(error.pictureColumns()), taiwanNumber(error.mostColumns()));
    }
    return tr("%1 無法當成圖片讀取：看板收 PNG、BMP、GIF、JPEG 和 SVG 圖片。").arg(file);
}

QString ErrorMessage::outOfMemory()
{
    return tr("錯誤 %1：%2").arg(SketchError::kOutOfMemory).arg(kind(SketchError::kOutOfMemory));
}

QString ErrorMessage::internal(const QString& detail)
{
    QString text = tr("錯誤 %1：%2").arg(SketchError::kInternal).arg(kind(SketchError::kInternal));
    if (!detail.isEmpty()) {
        text += QLatin1Char('\n') + detail;
    }
    return text;
}

} // namespace window
