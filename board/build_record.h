#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace board {

// What a build folder holds a finished build of: the key of the text it was
// built from (with the builder and its arguments), the builder's figures and
// words, and the size and time of each file it left, so that a file changed
// or lost since is noticed. It is written last, once the build is whole,
// into a temporary file that is renamed over the old record, and the one
// there is removed before the builder touches the folder again; so a build
// cut short, by a crash or a cancel, never passes for a finished one. It
// does not lock the folder, run the builder or name its files: the
// compiler does.
class BuildRecord {
public:
    // Stands for a build's inputs: the builder program, its arguments (with
    // no folder of the build's in them) and the sketch's bytes, and the size
    // and time of each of the toolchain's files named, so that a build made
    // before the compiler or the core was upgraded is not taken for one now.
    static QByteArray key(const QString& program, const QStringList& arguments, const QByteArray& sketch,
                          const QStringList& toolchainFiles);

    // The record in the folder, if there is one that can be read; none for
    // a missing, torn or foreign file.
    static std::optional<BuildRecord> read(const QString& folder);
    // Removes the folder's record; false when one is still there after.
    static bool forget(const QString& folder);
    // Writes it into the folder whole, describing the files as they are
    // now; false when it could not be written, and then the folder has none.
    bool write(const QString& folder, const QStringList& files) const;
    // Whether the files are still those the build left.
    bool describes(const QStringList& files) const;

    QByteArray buildKey;
    int flashBytes = -1;
    int sramBytes = -1;
    QString log;

private:
    struct Stamp {
        qint64 bytes = -1;
        qint64 modified = -1; // milliseconds since the epoch
        bool operator==(const Stamp&) const = default;
    };
    static std::optional<Stamp> stampOf(const QString& file);

    // The files as the record read from a folder describes them.
    QList<Stamp> m_stamps;
};

} // namespace board
