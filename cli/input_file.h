#pragma once

#include <QByteArrayView>
#include <QString>

#include <array>

namespace cli {

// A file the user names for the tool to read (a message file, a sketch
// file), or standard input, read in chunks with the system's own calls, so
// that a failure keeps its path, the system's reason and its kind. What
// the bytes mean, and how many of them to take, is the caller's.
class InputFile {
public:
    enum class Source { Path, StandardInput };

    // what names the file for the user ("message file"). Throws UsageError
    // with the system's reason when the file cannot be opened.
    InputFile(Source source, const QString& path, const QString& what);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // The next bytes, valid until the next call; empty at the end. Throws
    // SketchError with errno's number and reason when a read fails.
    QByteArrayView read();
    // The path, or "standard input".
    QString shownName() const { return m_shownName; }

private:
    int m_descriptor = -1;
    bool m_owned = false;
    QString m_shownName;
    QString m_what;
    std::array<char, 64 * 1024> m_chunk{};
};

} // namespace cli
