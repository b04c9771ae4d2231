#pragma once

#include "generation/line_file.h"

#include <QSaveFile>
#include <QString>

#include <memory>
#include <string>

namespace platform {

// A line file written as UTF-8 while it is made, so a long sketch is never
// held whole. On disk it goes into a QSaveFile that replaces the target only
// at commit(); to standard output the bytes leave through a buffer as they
// come. Failures throw SketchError naming the path.
class Utf8LineFile : public generation::LineFile {
public:
    // Opens the save file; throws SketchError when that is impossible.
    explicit Utf8LineFile(const QString& path);
    static std::unique_ptr<Utf8LineFile> toStandardOutput();
    ~Utf8LineFile() override;

    void writeLine(const std::string& text) override;
    void commit() override;

private:
    Utf8LineFile() = default;
    void flush();
    [[noreturn]] void fail() const;

    std::unique_ptr<QSaveFile> m_file;
    std::string m_buffer;
};

} // namespace platform
