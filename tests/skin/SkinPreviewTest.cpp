#include "skin/SkinPreview.h"

#include "skin/BmpFile.h"
#include "skin/SkinRegion.h"
#include "skin/TbsCompressedStoredSkin.h"
#include "skin/TbsSkinData.h"

#include "../support/Images.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pixolo;
using namespace pixolo::test;

// A whole skin folder packed and loaded: a 30 × 24 form picture shaped like the program's (corner points inside
// the client rectangle), a mask with two outside corners, and control pictures of each resize mode.
class SkinPreviewTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        saveBmpFile(TBitmap(coordinateImage(30, 24)), m_folder.filePath(QStringLiteral("form.bmp")));
        QImage mask = filledImage(30, 24, qRgb(0, 0, 0));
        mask.setPixel(0, 0, qRgb(255, 255, 255));
        mask.setPixel(29, 23, qRgb(255, 255, 255));
        saveBmpFile(TBitmap(mask), m_folder.filePath(QStringLiteral("mask.bmp")));
        saveBmpFile(TBitmap(coordinateImage(20, 12)), m_folder.filePath(QStringLiteral("controls.bmp")));
        QImage buttonMask = filledImage(20, 10, qRgb(0, 0, 0));
        buttonMask.setPixel(0, 0, qRgb(255, 255, 255));
        saveBmpFile(TBitmap(buttonMask), m_folder.filePath(QStringLiteral("buttonmask.bmp")));

        QFile ini(m_folder.filePath(QStringLiteral("skin.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[VERSION]\r\nskinname=test\r\n"
                  "[PICTURES]\r\npicture=form.bmp\r\nmask=mask.bmp\r\nactivepicturescount=2\r\n0=controls.bmp\r\n"
                  "1=buttonmask.bmp\r\n"
                  "[FORMINFO]\r\nlefttoppoint=9,8\r\nrighttoppoint=20,8\r\nleftbottompoint=9,16\r\n"
                  "rightbottompoint=20,16\r\nclientrect=5,6,24,19\r\nmaskrectarea=5,6,24,19\r\n"
                  "[SKINOBJECTS]\r\ncount=0\r\n"
                  "[SKINCONTROLS]\r\ncount=4\r\n0=button:button\r\n1=panel:panel\r\n2=stdlabel:stdlabel\r\n"
                  "3=broken:panel\r\n"
                  "[button]\r\npictureindex=0\r\nmaskpictureindex=1\r\nskinrect=0,1,20,11\r\nlefttoppoint=4,5\r\n"
                  "righttoppoint=15,5\r\n"
                  "[panel]\r\npictureindex=0\r\nskinrect=0,0,20,12\r\nlefttoppoint=3,3\r\nrighttoppoint=17,3\r\n"
                  "leftbottompoint=3,9\r\nrightbottompoint=17,9\r\nclientrect=3,3,17,9\r\n"
                  "[stdlabel]\r\npictureindex=0\r\nskinrect=2,2,9,7\r\n"
                  "[broken]\r\npictureindex=0\r\nskinrect=5,5,5,9\r\nrightbottompoint=3,3\r\n");
        ini.close();
        m_storedSkin.ImportSkinFolder(ini.fileName());
        m_store.LoadStoredSkin(m_storedSkin);
        ASSERT_FALSE(m_store.Empty());
    }

    const TbsDataSkinControl &entry(const char *name) const
    {
        return *m_store.ControlList.at(size_t(m_store.FindControlIndex(QLatin1String(name))));
    }

    QTemporaryDir m_folder;
    TbsCompressedStoredSkin m_storedSkin;
    TbsSkinData m_store;
};

TEST_F(SkinPreviewTest, FormFrameSurroundsTheTiledClientBackground)
{
    const QImage frame = formFrameImage(m_store, QSize(47, 37));
    ASSERT_EQ(frame.size(), QSize(47, 37));
    // Border strips tile from their own 0; the client background from the client's corner.
    const auto across = [](int x) { return x < 9 ? x : x >= 37 ? x - 17 : 9 + x % 11; };
    const auto down = [](int y) {
        const int row = y - 6;
        return row < 2 ? row + 6 : row >= 23 ? row - 7 : 8 + row % 8;
    };
    EXPECT_TRUE(mapsTo(frame, [&](int x, int y) {
        if (y < 6) {
            return QPoint(across(x), y);
        }
        if (y >= 32) {
            return QPoint(across(x), y - 13);
        }
        if (x < 5) {
            return QPoint(x, down(y));
        }
        if (x >= 41) {
            return QPoint(x - 17, down(y));
        }
        return QPoint(5 + (x - 5) % 19, 6 + (y - 6) % 13);
    }));
}

TEST_F(SkinPreviewTest, FormNeverGetsSmallerThanItsFrame)
{
    EXPECT_EQ(formSize(m_store, QSize(10, 5)), QSize(30, 24 - 13));
    EXPECT_EQ(formFrameImage(m_store, QSize(10, 5)).size(), QSize(30, 11));
    EXPECT_TRUE(formFrameImage(TbsSkinData(), QSize(47, 37)).isNull()) << "an Empty store draws nothing";
}

TEST_F(SkinPreviewTest, FormRegionCutsTheMaskCornersAtTheNewSize)
{
    const std::optional<QRegion> region = formRegion(m_store, QSize(47, 37));
    ASSERT_TRUE(region);
    const QRegion expected = QRegion(0, 0, 47, 37) - QRegion(0, 0, 1, 1) - QRegion(46, 36, 1, 1);
    EXPECT_TRUE(region->xored(expected).isEmpty());
}

TEST_F(SkinPreviewTest, WidthOnlyControlKeepsItsSkinHeight)
{
    const TbsDataSkinControl &button = entry("button");
    EXPECT_EQ(controlSize(m_store, button, QSize(40, 30)), QSize(40, 10));
    const QImage image = controlImage(m_store, button, QSize(40, 30));
    EXPECT_TRUE(mapsTo(image, [](int x, int y) {
        return QPoint(x < 4 ? x : x >= 35 ? x - 20 : 4 + (x - 4) % 11, y + 1);
    }));
    const std::optional<QRegion> shape = controlRegion(m_store, button, QSize(40, 30));
    ASSERT_TRUE(shape);
    EXPECT_TRUE(shape->xored(QRegion(0, 0, 40, 10) - QRegion(0, 0, 1, 1)).isEmpty());
}

TEST_F(SkinPreviewTest, FourCornerControlGrowsBothWaysWithItsClient)
{
    const QImage image = controlImage(m_store, entry("panel"), QSize(30, 20));
    ASSERT_EQ(image.size(), QSize(30, 20));
    EXPECT_EQ(sourceOf(image.pixel(0, 0)), QPoint(0, 0));
    EXPECT_EQ(sourceOf(image.pixel(29, 19)), QPoint(19, 11));
    EXPECT_EQ(sourceOf(image.pixel(3 + 14 + 2, 3 + 6 + 1)), QPoint(3 + 2, 3 + 1)) << "client tiled";
    EXPECT_FALSE(controlRegion(m_store, entry("panel"), QSize(30, 20))) << "no mask, no shape";
}

TEST_F(SkinPreviewTest, EntriesWithoutGeometryTakeTheSkinSize)
{
    const QImage image = controlImage(m_store, entry("stdlabel"), QSize(50, 50));
    EXPECT_EQ(image.size(), QSize(7, 5));
    EXPECT_EQ(sourceOf(image.pixel(0, 0)), QPoint(2, 2));
}

TEST_F(SkinPreviewTest, EmptySkinRectangleDrawsNothing)
{
    EXPECT_FALSE(controlSize(m_store, entry("broken"), QSize(30, 20)).isValid());
    EXPECT_TRUE(controlImage(m_store, entry("broken"), QSize(30, 20)).isNull());
}

// The project's own skin at the main window's size: 729 × 467 client plus the frame.
TEST(ProjectSkinPreview, MainWindowFrameAndShape)
{
    TbsCompressedStoredSkin storedSkin;
    storedSkin.ImportSkinFolder(QStringLiteral(PIXOLO_SOURCE_DIR "/skins/pixolo/skin.ini"));
    TbsSkinData store;
    store.LoadStoredSkin(storedSkin);
    ASSERT_FALSE(store.Empty());
    const QImage form = store.Picture.toRgb32();
    ASSERT_EQ(form.size(), QSize(176, 147));

    const QImage frame = formFrameImage(store, QSize(757, 523));
    ASSERT_EQ(frame.size(), QSize(757, 523));
    // Corners land unchanged at the window's corners (the top-right one holds the caption buttons).
    EXPECT_EQ(frame.copy(0, 0, 48, 33), form.copy(0, 0, 48, 33));
    EXPECT_EQ(frame.copy(757 - 77, 0, 77, 33), form.copy(99, 0, 77, 33));
    EXPECT_EQ(frame.copy(0, 523 - 23, 20, 23), form.copy(0, 124, 20, 23));
    EXPECT_EQ(frame.copy(757 - 35, 523 - 23, 35, 23), form.copy(141, 124, 35, 23));

    const std::optional<QRegion> shape = formRegion(store, QSize(757, 523));
    ASSERT_TRUE(shape);
    EXPECT_TRUE(shape->contains(QRect(15, 33, 729, 467))) << "the client is inside";
    EXPECT_TRUE(QRect(0, 0, 757, 523).contains(shape->boundingRect()));
    const QRegion maskShape = *CreateRgnFromMask(store.MaskPicture.toRgb32());
    // The mask's rounded corners stay at the window's corners.
    ASSERT_FALSE(maskShape.contains(QPoint(0, 0)));
    EXPECT_FALSE(shape->contains(QPoint(0, 0)));
    EXPECT_EQ(shape->contains(QPoint(756, 522)), maskShape.contains(QPoint(175, 146)));
}
