#pragma once

#include "generation/picture.h"

#include <QImage>
#include <QSize>
#include <QString>

namespace platform {

// Reads a picture file into the picture the sign takes. It reads whatever
// Qt's image readers know (PNG, BMP, GIF, JPEG, and SVG through Qt's SVG
// image plug-in), deciding the format from the content, not the name. A
// picture 16 pixels tall is taken pixel for pixel; another height is scaled
// smoothly to 16 rows, keeping its aspect ratio, before the threshold
// decides which pixels are lit. It does not know where the picture's mark
// stands, and it leaves drawing to the canvas.
class PictureFile {
public:
    // Throws SketchError: the system's reason (osFailure) when the file
    // cannot be opened or read; kInvalidPicture when it is no picture, or is
    // wider than Picture::kMaxWidth at 16 rows. Each names the file.
    static generation::Picture read(const QString& path);
    // The picture an image gives, scaled and thresholded as a file's is;
    // name is the file the image came from, for the error when it is too
    // wide.
    static generation::Picture fromImage(const QImage& image, const QString& name);
    // A pixel is lit when it is dark and opaque: its luminance below one
    // half and its alpha at least one half.
    static bool isLit(QRgb pixel);
    // The size a picture of this size is scaled to: 16 rows, and the width
    // that keeps its aspect ratio, at least one column.
    static QSize signSize(QSize size);
};

} // namespace platform
