// kesmora-inspect sheet, which lays out the gallery: grid size, pictures in their cells, captions.
#include "inspector_process.h"

#include <QColor>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

// Pixels in the rectangle that are far from white.
int inked(const QImage& image, const QRect& r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += qGray(image.pixel(x, y)) < 128;
    return n;
}

} // namespace

TEST(Sheet, PicturesAndCaptionsInAGrid) {
    // Three plain pictures, twice the tile size, so that scaling shows.
    const QColor colours[3] = {Qt::red, Qt::blue, QColor(0, 128, 0)};
    QStringList args{"sheet", "--columns", "2", "--tile", "100x50", "-o", scratchFile("out.png")};
    for (int k = 0; k < 3; ++k) {
        QImage picture(200, 100, QImage::Format_RGB32);
        picture.fill(colours[k]);
        const QString file = scratchFile("in" + std::to_string(k) + ".png");
        ASSERT_TRUE(picture.save(file));
        args << file << QString("caption %1").arg(k);
    }
    ASSERT_EQ(inspect(args).exitCode, 0);
    const QImage sheet(scratchFile("out.png"));
    ASSERT_FALSE(sheet.isNull());
    // Two columns of 100 px and two rows, with gaps and caption lines between.
    EXPECT_GT(sheet.width(), 200);
    EXPECT_LT(sheet.width(), 240);
    const int rowHeight = (sheet.height() - 8) / 2;
    EXPECT_GT(rowHeight, 50);
    for (int k = 0; k < 3; ++k) {
        const int x = 8 + (k % 2) * 108, y = 8 + (k / 2) * rowHeight;
        EXPECT_EQ(QColor(sheet.pixel(x + 50, y + 25)), colours[k]) << "picture " << k;
        EXPECT_GT(inked(sheet, QRect(x, y + 51, 100, rowHeight - 60)), 20) << "caption " << k;
    }
    // The empty fourth cell stays white.
    EXPECT_EQ(inked(sheet, QRect(8 + 108, 8 + rowHeight, 100, rowHeight - 10)), 0);
}

TEST(Sheet, RefusesMissingPicturesAndCaptions) {
    EXPECT_EQ(
        inspect({"sheet", "-o", scratchFile("x.png"), scratchFile("does-not-exist.png"), "caption"}).exitCode,
        1);
    EXPECT_EQ(inspect({"sheet", "-o", scratchFile("x.png"), scratchFile("in0.png")}).exitCode, 2);
    EXPECT_EQ(inspect({"sheet", scratchFile("in0.png"), "caption"}).exitCode, 2);
}
