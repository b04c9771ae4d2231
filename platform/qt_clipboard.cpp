#include "platform/qt_clipboard.h"

#include "generation/sketch_error.h"
#include "platform/text_conversion.h"

#include <QClipboard>
#include <QGuiApplication>

namespace platform {

void QtClipboard::putText(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) {
        throw generation::SketchError(generation::SketchError::kClipboard, "Can't open Clipboard");
    }
    clipboard->clear();
    clipboard->setText(withCrLfLineEnds(text));
}

} // namespace platform
