// The program icon a skin gives: its system-menu button's picture, scaled up with its corners cut round.
#include "skin/BmpFile.h"
#include "skin/SkinPreview.h"
#include "skin/TbsCompressedStoredSkin.h"
#include "skin/TbsSkinData.h"
#include "storedskin/StoredSkin.h"

#include "../support/Images.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pixolo;
using namespace pixolo::test;

namespace
{

// A skin whose frame objects are given by `objects` (the [SKINOBJECTS] list and their sections), over a 30 × 24
// form picture and one 12 × 10 numbered picture, both coordinate pictures.
class SkinIconTest : public testing::Test
{
protected:
    bool load(const QByteArray &objects)
    {
        saveBmpFile(TBitmap(coordinateImage(30, 24)), m_folder.filePath(QStringLiteral("form.bmp")));
        saveBmpFile(TBitmap(coordinateImage(12, 10)), m_folder.filePath(QStringLiteral("objects.bmp")));
        QFile ini(m_folder.filePath(QStringLiteral("skin.ini")));
        if (!ini.open(QIODevice::WriteOnly)) {
            return false;
        }
        ini.write("[VERSION]\r\nskinname=test\r\n[PICTURES]\r\npicture=form.bmp\r\nactivepicturescount=1\r\n"
                  "0=objects.bmp\r\n[FORMINFO]\r\nlefttoppoint=9,8\r\nrighttoppoint=20,8\r\nleftbottompoint=9,16\r\n"
                  "rightbottompoint=20,16\r\nclientrect=5,6,24,19\r\n[SKINCONTROLS]\r\ncount=0\r\n"
            + objects);
        ini.close();
        m_storedSkin.ImportSkinFolder(ini.fileName());
        m_store.LoadStoredSkin(m_storedSkin);
        return !m_store.Empty();
    }

    // Whether pixel (x, y) of an icon made from a w × h cell is one of the three cut away at each corner.
    static bool cutAway(int x, int y, int w, int h)
    {
        const int dx = std::min(x, w - 1 - x);
        const int dy = std::min(y, h - 1 - y);
        return dx + dy <= 1;
    }

    QTemporaryDir m_folder;
    TbsCompressedStoredSkin m_storedSkin;
    TbsSkinData m_store;
};

} // namespace

TEST_F(SkinIconTest, IsTheSystemMenuButtonsCellScaledUpWithRoundedCorners)
{
    ASSERT_TRUE(load("[SKINOBJECTS]\r\ncount=2\r\n0=closebutton:stdbutton\r\n1=sysmenubutton:stdbutton\r\n"
                     "[closebutton]\r\nskinrect=20,2,26,8\r\ncommand=cmclose\r\n"
                     "[sysmenubutton]\r\nskinrect=2,3,8,8\r\ncommand=cmsysmenu\r\n"));
    const QImage icon = programIcon(m_store, 24); // the 6 × 5 cell at four times its width, 4.8 times its height
    ASSERT_EQ(icon.size(), QSize(24, 24));
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) {
            const QPoint cell((2 * x + 1) * 6 / 48, (2 * y + 1) * 5 / 48); // nearest neighbour, sampled at centres
            const QRgb pixel = icon.pixel(x, y);
            if (cutAway(cell.x(), cell.y(), 6, 5)) {
                EXPECT_EQ(qAlpha(pixel), 0) << x << ',' << y;
            } else {
                ASSERT_EQ(qAlpha(pixel), 255) << x << ',' << y;
                EXPECT_EQ(sourceOf(pixel), QPoint(2, 3) + cell) << x << ',' << y;
            }
        }
    }
}

TEST_F(SkinIconTest, ButtonDrawnFromANumberedPictureIsTakenFromThere)
{
    ASSERT_TRUE(load("[SKINOBJECTS]\r\ncount=1\r\n0=sysmenubutton:stdbutton\r\n"
                     "[sysmenubutton]\r\nskinrect=4,4,8,8\r\nskinrectinapicture=1\r\nactivepictureindex=0\r\n"
                     "command=cmsysmenu\r\n"));
    const QImage icon = programIcon(m_store, 4);
    ASSERT_EQ(icon.size(), QSize(4, 4));
    EXPECT_EQ(sourceOf(icon.pixel(1, 1)), QPoint(5, 5));
    EXPECT_EQ(sourceOf(icon.pixel(2, 2)), QPoint(6, 6));
}

TEST_F(SkinIconTest, NoIconWithoutASystemMenuButtonOrWithItsCellOutsideThePicture)
{
    ASSERT_TRUE(load("[SKINOBJECTS]\r\ncount=1\r\n0=closebutton:stdbutton\r\n[closebutton]\r\nskinrect=2,2,8,8\r\n"
                     "command=cmclose\r\n"));
    EXPECT_TRUE(programIcon(m_store, 48).isNull());
    ASSERT_TRUE(load("[SKINOBJECTS]\r\ncount=1\r\n0=sysmenubutton:stdbutton\r\n[sysmenubutton]\r\n"
                     "skinrect=25,20,40,30\r\ncommand=cmsysmenu\r\n"));
    EXPECT_TRUE(programIcon(m_store, 48).isNull());
    EXPECT_TRUE(programIcon(TbsSkinData(), 48).isNull());
}

TEST(PixoloIconTest, PixolosOwnSkinGivesAnOpaqueSquareIconAtEachDesktopSize)
{
    TbsCompressedStoredSkin storedSkin;
    storedSkin.SetCompressedData(pixoloStoredSkin().toByteArray());
    TbsSkinData store;
    store.LoadStoredSkin(storedSkin);
    for (const int size : { 48, 128, 256 }) {
        const QImage icon = programIcon(store, size);
        ASSERT_EQ(icon.size(), QSize(size, size));
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255);
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, 0)), 255);
    }
}
