#include "platform/picture_file.h"

#include "generation/sketch_error.h"
#include "platform/os_failure.h"
#include "platform/text_conversion.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <vector>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

using generation::Picture;
using generation::SketchError;

namespace {

// Far more than any picture the sign can show needs, even a photograph
// scaled down to 16 rows; an endless source (a device, a pipe) stops here.
constexpr qint64 kLargestFile = 64 * 1024 * 1024;

SketchError invalidPicture(const QString& why, const QString& path)
{
    return SketchError(SketchError::kInvalidPicture, toUtf8(QStringLiteral("Invalid picture: %1").arg(why)), 0,
                       toUtf8(path));
}

SketchError tooWide(QSize size, const QString& path)
{
    const int columns = PictureFile::signSize(size).width();
    return SketchError::pictureTooWide(toUtf8(QStringLiteral("Invalid picture: %1 is %2 columns wide at %3 rows; "
                                                             "a picture may be at most %4")
                                                  .arg(path)
                                                  .arg(columns)
                                                  .arg(Picture::kHeight)
                                                  .arg(Picture::kMaxWidth)),
                                       toUtf8(path), static_cast<std::size_t>(columns), Picture::kMaxWidth);
}

bool fitsTheSign(QSize size)
{
    return static_cast<std::size_t>(PictureFile::signSize(size).width()) <= Picture::kMaxWidth;
}

QByteArray readBytes(const QString& path)
{
    const QString action = QStringLiteral("cannot read picture");
    int descriptor = -1;
    do {
        descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0) {
        throw osFailure(errno, action, path).inReading();
    }
    QFile file;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        throw osFailure(EIO, action, path).inReading();
    }
    struct stat status {};
    if (::fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode)) {
        throw osFailure(EISDIR, action, path).inReading();
    }
    QByteArray bytes = file.read(kLargestFile + 1);
    if (file.error() != QFileDevice::NoError) {
        throw osFailure(EIO, action, path).inReading();
    }
    if (bytes.size() > kLargestFile) {
        throw invalidPicture(QStringLiteral("%1 is larger than any picture the sign can take (%2 MiB)")
                                 .arg(path)
                                 .arg(kLargestFile / 1024 / 1024),
                             path);
    }
    return bytes;
}

} // namespace

QSize PictureFile::signSize(QSize size)
{
    if (size.height() == Picture::kHeight || size.height() <= 0) {
        return QSize(size.width(), Picture::kHeight);
    }
    const double width = double(size.width()) * Picture::kHeight / size.height();
    return QSize(std::max(1, static_cast<int>(std::min(std::round(width), double(INT_MAX)))), Picture::kHeight);
}

bool PictureFile::isLit(QRgb pixel)
{
    // Luminance from the sRGB values with Rec. 709's weights, in ten
    // thousandths, so no rounding decides a pixel near the middle.
    const int luminance = 2126 * qRed(pixel) + 7152 * qGreen(pixel) + 722 * qBlue(pixel);
    return 2 * qAlpha(pixel) >= 255 && 2 * luminance < 255 * 10000;
}

Picture PictureFile::fromImage(const QImage& image, const QString& name)
{
    if (image.isNull()) {
        throw invalidPicture(QStringLiteral("%1 holds no pixels").arg(name), name);
    }
    if (!fitsTheSign(image.size())) {
        throw tooWide(image.size(), name);
    }
    // Scaled with alpha premultiplied, so that transparent pixels lend
    // their neighbours no colour, and read back unpremultiplied.
    QImage pixels = image;
    if (image.height() != Picture::kHeight) {
        pixels = image.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                     .scaled(signSize(image.size()), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    pixels = pixels.convertToFormat(QImage::Format_ARGB32);
    std::vector<std::uint16_t> columns(static_cast<std::size_t>(pixels.width()), 0);
    for (int row = 0; row < Picture::kHeight; ++row) {
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(row));
        for (int x = 0; x < pixels.width(); ++x) {
            if (isLit(line[x])) {
                columns[static_cast<std::size_t>(x)] |= static_cast<std::uint16_t>(1u << row);
            }
        }
    }
    return Picture(std::move(columns));
}

Picture PictureFile::read(const QString& path)
{
    QByteArray bytes = readBytes(path);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // A photograph is taken the way up its camera recorded.
    reader.setAutoTransform(true);
    // A picture too wide is refused before it is decoded, however large,
    // at the size it has once turned the way up it is shown.
    QSize size = reader.size();
    if (reader.transformation().testFlag(QImageIOHandler::TransformationRotate90)) {
        size.transpose();
    }
    if (size.isValid() && !fitsTheSign(size)) {
        throw tooWide(size, path);
    }
    // A drawing is rendered at the sign's size rather than scaled from
    // whatever size it names, so its lines land on whole pixels.
    if (size.isValid() && reader.supportsOption(QImageIOHandler::ScaledSize)
        && (reader.format() == "svg" || reader.format() == "svgz")) {
        reader.setScaledSize(signSize(size));
    }
    const QImage image = reader.read();
    if (image.isNull()) {
        throw invalidPicture(QStringLiteral("cannot read %1 as a picture (%2)").arg(path, reader.errorString()), path);
    }
    return fromImage(image, path);
}

} // namespace platform
