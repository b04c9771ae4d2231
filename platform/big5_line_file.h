#pragma once

#include "generation/line_file.h"

#include <QSaveFile>
#include <QStringEncoder>

#include <memory>

namespace platform {

// A line file stored as Big5 without a byte-order mark. On disk it is
// written into a QSaveFile beside the target, so the target is replaced only
// by a complete file; destroyed without commit(), it removes its temporary
// file and leaves the target untouched. For standard output it holds the
// bytes until commit(), so a failure part-way prints nothing.
class Big5LineFile : public generation::LineFile {
public:
    // Opens the save file; throws SketchError when that is impossible.
    explicit Big5LineFile(const QString& path);
    static std::unique_ptr<Big5LineFile> toStandardOutput();

    void writeLine(const std::string& text) override;
    void commit() override;

private:
    Big5LineFile();

    std::unique_ptr<QSaveFile> m_file;
    QByteArray m_pending;
    QStringEncoder m_encoder;
};

} // namespace platform
