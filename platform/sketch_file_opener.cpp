#include "platform/sketch_file_opener.h"

#include "platform/text_conversion.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

SketchFileOpener::SketchFileOpener(QString sketchbook)
    : m_sketchbook(QDir::cleanPath(std::move(sketchbook)))
{
}

std::unique_ptr<generation::LineFile> SketchFileOpener::open(const std::string& path)
{
    const QFileInfo file(fromUtf8(path));
    const QString folder = QDir::cleanPath(file.absolutePath());
    if (QFileInfo(folder).absolutePath() == m_sketchbook) {
        // When this fails (the sketchbook is a file, say), opening below
        // reports the folder with its full path.
        QDir().mkpath(folder);
    }
    return m_files.open(path);
}

} // namespace platform
