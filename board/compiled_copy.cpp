#include "board/compiled_copy.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace board {

CompiledCopy::CompiledCopy() = default;

CompiledCopy::~CompiledCopy() = default;

QString CompiledCopy::take(const QString& source, BoardOutcome& outcome)
{
    m_folder = std::make_unique<QTemporaryDir>();
    const QString copy = m_folder->filePath(QFileInfo(source).fileName());
    std::error_code error;
    if (!m_folder->isValid()) {
        error.assign(EACCES, std::generic_category());
    } else {
        std::filesystem::copy_file(QFile::encodeName(source).toStdString(), QFile::encodeName(copy).toStdString(),
                                   error);
    }
    if (error) {
        outcome.failure = BoardFailure::FileFailed;
        outcome.subject = source;
        outcome.osError = error.value();
        outcome.detail = QStringLiteral("cannot copy %1 into a temporary folder: %2")
                             .arg(source, QString::fromLocal8Bit(std::strerror(error.value())));
    }
    return copy;
}

void CompiledCopy::release()
{
    m_folder.reset();
}

} // namespace board
