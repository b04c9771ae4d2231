#include "platform/picture_file.h"

#include "generation/sketch_error.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using generation::SketchError;
using platform::PictureFile;

// A picture 16 rows tall keeps every pixel, and a pixel is lit exactly when
// it is darker than half and at least half opaque.
TEST(PictureFileTest, SixteenRowsAreTakenPixelForPixelByTheThreshold)
{
    const std::vector<std::pair<QRgb, bool>> pixels = {
        {qRgb(127, 127, 127), true},     {qRgb(128, 128, 128), false},    {qRgba(0, 0, 0, 128), true},
        {qRgba(0, 0, 0, 127), false},    {qRgb(255, 0, 0), true},         {qRgb(0, 255, 0), false},
        {qRgb(0, 0, 255), true},         {qRgba(255, 255, 255, 0), false},
    };
    QImage image(static_cast<int>(pixels.size()), 16, QImage::Format_ARGB32);
    image.fill(Qt::white);
    for (int x = 0; x < image.width(); ++x) {
        // Row x alone, so a shifted or transposed pixel shows.
        image.setPixel(x, x, pixels[static_cast<std::size_t>(x)].first);
        image.setPixel(x, 15, qRgb(0, 0, 0));
    }
    const auto picture = PictureFile::fromImage(image, QStringLiteral("synthetic"));
    ASSERT_EQ(picture.width(), pixels.size());
    for (std::size_t x = 0; x < pixels.size(); ++x) {
        const auto lit = static_cast<std::uint16_t>((pixels[x].second ? 1u << x : 0u) | 0x8000u);
        EXPECT_EQ(picture.columns()[x], lit) << "column " << x;
    }
}

// Another height is scaled to 16 rows keeping the aspect ratio, from a
// file in any format Qt reads (SVG through its plug-in); too wide a result
// is refused with the file's name before anything is drawn.
TEST(PictureFileTest, OtherHeightsAreScaledToSixteenRowsKeepingTheirShape)
{
    QTemporaryDir dir;
    QImage tall(48, 32, QImage::Format_RGB32); // left half black
    tall.fill(Qt::white);
    QPainter(&tall).fillRect(0, 0, 24, 32, Qt::black);
    const QString png = dir.filePath("tall.png");
    ASSERT_TRUE(tall.save(png));
    const auto fromPng = PictureFile::read(png);
    ASSERT_EQ(fromPng.width(), 24u);
    for (std::size_t x = 0; x < 24; ++x) {
        EXPECT_EQ(fromPng.columns()[x], x < 12 ? 0xFFFF : 0) << "column " << x;
    }

    // A shape drawn at 4 x 8 comes out at 16 x 32, each pixel 4 x 4.
    QImage small(8, 4, QImage::Format_RGB32);
    small.fill(Qt::white);
    small.setPixel(0, 0, qRgb(0, 0, 0));
    small.setPixel(7, 3, qRgb(0, 0, 0));
    const auto grown = PictureFile::fromImage(small, QStringLiteral("small"));
    ASSERT_EQ(grown.width(), 32u);
    EXPECT_EQ(grown.columns()[1], 0x000F);
    EXPECT_EQ(grown.columns()[30], 0xF000);
    EXPECT_EQ(grown.columns()[16], 0);

    const QString svg = dir.filePath("bar.svg");
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"(<svg xmlns="http://www.w3.org/2000/svg" width="80" height="40">)"
               R"(<rect width="80" height="40" fill="white"/><rect width="40" height="40" fill="black"/></svg>)");
    file.close();
    const auto drawing = PictureFile::read(svg);
    ASSERT_EQ(drawing.width(), 32u);
    EXPECT_EQ(drawing.columns()[15], 0xFFFF);
    EXPECT_EQ(drawing.columns()[16], 0);

    EXPECT_EQ(PictureFile::fromImage(QImage(8192, 32, QImage::Format_RGB32), "edge").width(), 4096u);
    const QString wide = dir.filePath("wide.png");
    ASSERT_TRUE(QImage(8194, 32, QImage::Format_Mono).save(wide));
    try {
        PictureFile::read(wide);
        ADD_FAILURE() << "a picture 4,097 columns wide was taken";
    } catch (const SketchError& error) {
        EXPECT_EQ(error.number(), SketchError::kInvalidPicture);
        EXPECT_NE(std::string(error.what()).find(wide.toStdString() + " is 4097 columns wide"), std::string::npos)
            << error.what();
    }
}

} // namespace
