#include "board/build_record.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace board {

namespace {

const QString kRecordFile = QStringLiteral("/build-record.json");
// A record of another layout is no record; this changes with its fields.
constexpr int kLayout = 1;
// The largest record read: a builder's words run to a few kilobytes.
constexpr qint64 kMostRecordBytes = 4 << 20;

} // namespace

QByteArray BuildRecord::key(const QString& program, const QStringList& arguments, const QByteArray& sketch,
                            const QStringList& toolchainFiles)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QStringList parts = QStringList{program} + arguments;
    for (const QString& file : toolchainFiles) {
        const std::optional<Stamp> stamp = stampOf(file);
        parts << file << (stamp ? QStringLiteral("%1 %2").arg(stamp->bytes).arg(stamp->modified) : QString());
    }
    // Each part ends with a byte no path or argument holds, so that two
    // different lists never run together into the same bytes.
    for (const QString& part : parts) {
        hash.addData(part.toUtf8());
        hash.addData(QByteArrayView("\0", 1));
    }
    hash.addData(sketch);
    return hash.result().toHex();
}

std::optional<BuildRecord::Stamp> BuildRecord::stampOf(const QString& file)
{
    const QFileInfo info(file);
    if (!info.isFile()) {
        return std::nullopt;
    }
    return Stamp{info.size(), info.lastModified().toMSecsSinceEpoch()};
}

std::optional<BuildRecord> BuildRecord::read(const QString& folder)
{
    QFile file(folder + kRecordFile);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMostRecordBytes) {
        return std::nullopt;
    }
    const QJsonObject json = QJsonDocument::fromJson(file.readAll()).object();
    if (json.value(QStringLiteral("layout")).toInt() != kLayout) {
        return std::nullopt;
    }
    BuildRecord record;
    record.buildKey = json.value(QStringLiteral("key")).toString().toLatin1();
    record.flashBytes = json.value(QStringLiteral("flashBytes")).toInt(-1);
    record.sramBytes = json.value(QStringLiteral("sramBytes")).toInt(-1);
    record.log = json.value(QStringLiteral("log")).toString();
    for (const QJsonValue stamp : json.value(QStringLiteral("files")).toArray()) {
        const QJsonObject fields = stamp.toObject();
        record.m_stamps.append(Stamp{fields.value(QStringLiteral("bytes")).toInteger(-1),
                                     fields.value(QStringLiteral("modified")).toInteger(-1)});
    }
    if (record.buildKey.isEmpty()) {
        return std::nullopt;
    }
    return record;
}

bool BuildRecord::forget(const QString& folder)
{
    QFile::remove(folder + kRecordFile);
    return !QFileInfo::exists(folder + kRecordFile);
}

bool BuildRecord::write(const QString& folder, const QStringList& files) const
{
    QJsonArray stamps;
    for (const QString& path : files) {
        const std::optional<Stamp> stamp = stampOf(path);
        if (!stamp) {
            return false;
        }
        stamps.append(QJsonObject{{QStringLiteral("bytes"), stamp->bytes}, {QStringLiteral("modified"), stamp->modified}});
    }
    const QJsonObject json{
        {QStringLiteral("layout"), kLayout},
        {QStringLiteral("key"), QString::fromLatin1(buildKey)},
        {QStringLiteral("flashBytes"), flashBytes},
        {QStringLiteral("sramBytes"), sramBytes},
        {QStringLiteral("log"), log},
        {QStringLiteral("files"), stamps},
    };
    QSaveFile file(folder + kRecordFile);
    if (file.open(QIODevice::WriteOnly) && file.write(QJsonDocument(json).toJson()) >= 0 && file.commit()) {
        return true;
    }
    forget(folder);
    return false;
}

bool BuildRecord::describes(const QStringList& files) const
{
    if (files.size() != m_stamps.size()) {
        return false;
    }
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (stampOf(files[i]) != m_stamps[i]) {
            return false;
        }
    }
    return true;
}

} // namespace board
