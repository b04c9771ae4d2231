#include "platform/qt_clipboard.h"

#include "generation/sketch_error.h"

#include <QClipboard>
#include <QGuiApplication>

namespace platform {

QString QtClipboard::withCrLf(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

void QtClipboard::putText(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) {
        throw generation::SketchError(generation::SketchError::kClipboard, "Can't open Clipboard");
    }
    clipboard->clear();
    clipboard->setText(withCrLf(text));
}

} // namespace platform
