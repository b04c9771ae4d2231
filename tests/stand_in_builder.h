#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>

namespace tests {

// A stand-in arduino-builder: a shell script of the test's, first on PATH
// for as long as this lives, optionally with a build cache of its own
// (XDG_CACHE_HOME); both variables are as they were afterwards, however
// the test ended. A script that appends a line to "$0.runs" for each run
// is counted by runs().
class StandInBuilder {
public:
    enum class Cache { Kept, OwnFolder };

    explicit StandInBuilder(const QByteArray& script, Cache cache = Cache::Kept)
    {
        QFile file(program());
        m_ok = file.open(QIODevice::WriteOnly) && file.write(script) == script.size();
        file.close();
        m_ok = m_ok && file.setPermissions(file.permissions() | QFile::ExeOwner);
        qputenv("PATH", (m_folder.path() + ':').toLocal8Bit() + m_path);
        if (cache == Cache::OwnFolder) {
            qputenv("XDG_CACHE_HOME", m_folder.filePath("cache").toLocal8Bit());
        }
    }
    ~StandInBuilder()
    {
        qputenv("PATH", m_path);
        if (m_cache.isNull()) {
            qunsetenv("XDG_CACHE_HOME");
        } else {
            qputenv("XDG_CACHE_HOME", m_cache);
        }
    }
    StandInBuilder(const StandInBuilder&) = delete;
    StandInBuilder& operator=(const StandInBuilder&) = delete;

    // The script was written and may run.
    bool ok() const { return m_ok; }
    QString program() const { return m_folder.filePath("arduino-builder"); }
    int runs() const
    {
        QFile noted(program() + ".runs");
        return noted.open(QIODevice::ReadOnly) ? int(noted.readAll().count('\n')) : 0;
    }

private:
    const QByteArray m_path = qgetenv("PATH");
    const QByteArray m_cache = qgetenv("XDG_CACHE_HOME");
    QTemporaryDir m_folder;
    bool m_ok = false;
};

} // namespace tests
