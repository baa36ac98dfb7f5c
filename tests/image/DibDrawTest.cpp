#include "image/tDib.h"
#include "tests/support/BitmapFile.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using TestSupport::tBitmapFile;

namespace {

constexpr QRgb kBackground = 0xFF123456;

class DibDrawTest : public testing::Test {
protected:
    // A picture whose pixel (x, y) has table index 1 + y * width + x, in distinct colours.
    void Make(int width, int height) {
        tBitmapFile file;
        file.m_Width = width;
        file.m_Height = height;
        QByteArray bytes = QByteArray::fromStdString(file.Bytes());
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        ASSERT_TRUE(m_Picture.Load(buffer));
        m_Width = width;
    }

    QImage Render(auto draw) {
        QImage target(40, 40, QImage::Format_RGB32);
        target.fill(kBackground);
        QPainter painter(&target);
        draw(&painter);
        return target;
    }

    // The source pixel (x, y) of the picture, as the painter shows it.
    QRgb Source(int x, int y) const {
        const uint32_t colour = tBitmapFile::Colour(tBitmapFile::IndexAt(x, y, m_Width));
        return qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    }

    tDib m_Picture;
    int m_Width = 0;
};

TEST_F(DibDrawTest, NaturalSize) {
    Make(4, 3);
    const QImage image = Render([&](QPainter* p) { m_Picture.Draw(p, 5, 7); });
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(image.pixel(5 + x, 7 + y), Source(x, y)) << x << "," << y;
    EXPECT_EQ(image.pixel(4, 7), kBackground);
    EXPECT_EQ(image.pixel(9, 7), kBackground);
    EXPECT_EQ(image.pixel(5, 10), kBackground);
    EXPECT_EQ(m_Picture.m_DestRect, CRect(5, 7, 9, 10));
}

TEST_F(DibDrawTest, StretchedWithNearestNeighbours) {
    Make(4, 3);
    const QImage image = Render([&](QPainter* p) { m_Picture.Draw(p, CRect(0, 0, 12, 6)); });
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(image.pixel(x, y), Source(x / 3, y / 2)) << x << "," << y;
}

TEST_F(DibDrawTest, CentredWithOddDifferencesLeavesTheExtraPixelRightAndBelow) {
    Make(4, 3);
    const CRect area(10, 10, 17, 16); // 7 x 6: dx = 1, dy = 1
    const QImage image = Render([&](QPainter* p) { m_Picture.DrawCentred(p, &area); });
    EXPECT_EQ(m_Picture.m_DestRect, CRect(11, 11, 15, 14));
    EXPECT_EQ(m_Picture.m_SourceRect, CRect(0, 0, 4, 3));
    EXPECT_EQ(image.pixel(11, 11), Source(0, 0));
    EXPECT_EQ(image.pixel(14, 13), Source(3, 2));
    EXPECT_EQ(image.pixel(10, 10), kBackground) << "the area around is not painted";
    EXPECT_EQ(image.pixel(15, 14), kBackground);
}

TEST_F(DibDrawTest, CentredLargerPicturesAreCroppedToTheirMiddle) {
    Make(13, 8);
    const CRect area(0, 0, 10, 4); // dx = -1 (13 into 10), dy = -2
    const QImage image = Render([&](QPainter* p) { m_Picture.DrawCentred(p, &area); });
    EXPECT_EQ(m_Picture.m_SourceRect, CRect(1, 2, 12, 6)) << "11 source columns for 10";
    EXPECT_EQ(m_Picture.m_DestRect, area);
    EXPECT_EQ(image.pixel(0, 0), Source(1, 2));
    EXPECT_EQ(image.pixel(9, 3), Source(11, 5));
    EXPECT_EQ(image.pixel(10, 0), kBackground);
    EXPECT_EQ(image.pixel(0, 4), kBackground);
}

TEST_F(DibDrawTest, ASourceOutsideThePictureDrawsNothing) {
    Make(4, 3);
    m_Picture.Draw(nullptr, 1, 2);
    const QImage image = Render(
        [&](QPainter* p) { m_Picture.DrawPart(p, CRect(10, 10, 20, 20), CRect(0, 0, 10, 10)); });
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(image.pixel(x, y), kBackground);
    EXPECT_EQ(m_Picture.m_DestRect, CRect(1, 2, 5, 5)) << "the remembered rectangles stay";
}

TEST_F(DibDrawTest, RedrawRepeatsTheLastDrawing) {
    Make(4, 3);
    m_Picture.DrawPart(nullptr, CRect(1, 1, 3, 3), CRect(20, 20, 22, 22));
    const QImage image = Render([&](QPainter* p) { m_Picture.Redraw(p); });
    EXPECT_EQ(image.pixel(20, 20), Source(1, 1));
    EXPECT_EQ(image.pixel(21, 21), Source(2, 2));
    EXPECT_EQ(image.pixel(22, 22), kBackground);
}

} // namespace
