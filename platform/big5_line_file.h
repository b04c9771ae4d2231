#pragma once

#include "generation/line_file.h"

#include <QSaveFile>
#include <QStringEncoder>

#include <memory>

namespace platform {

// A line file stored as Big5 without a byte-order mark. On disk it is
// written into a QSaveFile beside the target, so the target is replaced only
// by a complete file; destroyed without commit(), it removes its temporary
// file and leaves the target untouched. For standard output the bytes
// leave through a buffer as they come: a sketch's own lines always have a
// Big5 form, so only the output itself can fail part-way.
class Big5LineFile : public generation::LineFile {
public:
    // Opens the save file; throws SketchError when that is impossible.
    explicit Big5LineFile(const QString& path);
    static std::unique_ptr<Big5LineFile> toStandardOutput();

    void writeLine(const std::string& text) override;
    void commit() override;

private:
    Big5LineFile();
    void flushPending();

    std::unique_ptr<QSaveFile> m_file;
    QByteArray m_pending;
    QStringEncoder m_encoder;
};

} // namespace platform
