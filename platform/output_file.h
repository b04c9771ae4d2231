#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QSaveFile;

namespace platform {

// The one checked way the tool writes an output: a path, or "-" for standard
// output. Every write and the final flush are checked, and every failure
// throws a numbered SketchError with the system's reason.
//
// A regular file (or a symlink to one; the link stays, its target is
// replaced) is written into a temporary file beside it, synced and then
// renamed over it, so the earlier file stays byte for byte until a complete
// new one takes its place. Anything else that already exists at the path (a
// named pipe, a device, a socket) is written into directly and never removed
// or renamed. Standard output and such targets receive an output of ordinary
// size at commit(), so a failure part-way prints nothing; a huge one goes out
// in 4 MB blocks as it comes. Destroyed without commit(), it
// cancels: the temporary file goes and the target is untouched.
//
// It checks the path but leaves creating folders and choosing paths to others.
class OutputFile {
public:
    static constexpr const char* kStandardOutput = "-";

    // Checks the path and opens what is needed; throws SketchError when the
    // folder is missing, is not a folder, the path is a folder, or the
    // target cannot be opened for writing.
    explicit OutputFile(const QString& path);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Throws SketchError when the bytes cannot be written.
    void write(const QByteArray& bytes);
    // Flushes, checks and puts the output in place; throws SketchError, in
    // which case an earlier regular file is left exactly as it was.
    void commit();

    // The path as shown to the user ("standard output" for "-").
    QString shownName() const;

private:
    enum class Kind { Replaced, Direct, StandardOutput };

    void writeOrThrow(int descriptor, const QByteArray& bytes, const QString& name);
    qsizetype pendingLimit() const;

    QString m_path;
    Kind m_kind = Kind::StandardOutput;
    std::unique_ptr<QSaveFile> m_save;
    int m_descriptor = -1;
    QByteArray m_pending;
    bool m_failed = false;
    bool m_committed = false;
};

} // namespace platform
