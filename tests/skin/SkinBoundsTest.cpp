// Bounds on what a skin may inflate to: a small stream of a huge size, or a picture header that claims a huge
// size, is refused with a clear error instead of taking the machine's memory.
#include "skin/BmpFile.h"
#include "skin/TCustomZlibStream.h"
#include "skin/TbsCompressedStoredSkin.h"
#include "skin/TbsSkinData.h"

#include "ZeroStream.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pixolo;

namespace
{

// A zlib stream of `size` zero bytes, made quickly (level 1).
QByteArray zeros(qint64 size)
{
    QByteArray out;
    EXPECT_TRUE(test::deflateZeros(size, 1, [&](const char *data, qsizetype length) { out.append(data, length); }));
    return out;
}

// A 1-bit BMP file of the given size, every pixel 0.
QByteArray oneBitBmp(int width, int height)
{
    TBitmap bitmap(width, height, pf1bit);
    return writeBmp(bitmap);
}

} // namespace

TEST(SkinBoundsTest, ContainerInflatingPastTheBoundIsRefusedAndOneAtTheBoundLoads)
{
    const qint64 bound = TbsCompressedStoredSkin::s_maxInflatedSize;
    TbsCompressedStoredSkin skin;
    skin.SetCompressedData(zeros(bound + 1));
    EXPECT_LT(skin.CompressedData().size(), bound / 200); // small on disk
    TMemoryStream container;
    try {
        skin.DecompressToStream(container);
        FAIL() << "inflated " << container.Size() << " bytes";
    } catch (const EDecompressionError &error) {
        EXPECT_NE(std::string(error.what()).find(std::to_string(bound)), std::string::npos) << error.what();
    }
    EXPECT_LE(container.Size(), bound); // it stopped at the bound, not at the end

    skin.SetCompressedData(zeros(bound));
    TMemoryStream whole;
    skin.DecompressToStream(whole);
    EXPECT_EQ(whole.Size(), bound);
}

TEST(SkinBoundsTest, StoreRefusesAnInflationBombAndStaysEmpty)
{
    TbsCompressedStoredSkin skin;
    skin.SetCompressedData(zeros(qint64(1) << 30)); // a megabyte that inflates to a gigabyte
    TbsSkinData store;
    EXPECT_THROW(store.LoadStoredSkin(skin), EDecompressionError);
    EXPECT_TRUE(store.Empty());
}

TEST(SkinBoundsTest, PictureWithMorePixelsThanTheBoundIsRefusedAtTheBoundItReads)
{
    const QByteArray atBound = oneBitBmp(4096, 4096);
    EXPECT_EQ(readBmp(atBound).Width(), 4096);
    try {
        readBmp(oneBitBmp(4097, 4096));
        FAIL() << "a picture past the bound was read";
    } catch (const EInvalidGraphic &error) {
        EXPECT_NE(std::string(error.what()).find("more pixels"), std::string::npos) << error.what();
    }
    // A header that claims a huge size with rows the file does not hold is refused the same way, before anything
    // of that size is made.
    QByteArray claimed = oneBitBmp(8, 8);
    const quint32 width = 1u << 20;
    claimed[18] = char(width & 0xFF);
    claimed[19] = char((width >> 8) & 0xFF);
    claimed[20] = char((width >> 16) & 0xFF);
    EXPECT_THROW(readBmp(claimed), EInvalidGraphic);
}

TEST(SkinBoundsTest, ImportingASkinFolderWithAPicturePastTheBoundFailsAndKeepsNothing)
{
    QTemporaryDir folder;
    QFile huge(folder.filePath(QStringLiteral("huge.bmp")));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    huge.write(oneBitBmp(5000, 4000));
    huge.close();
    QFile ini(folder.filePath(QStringLiteral("skin.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[VERSION]\r\n[PICTURES]\r\npicture=huge.bmp\r\n[FORMINFO]\r\n[SKINOBJECTS]\r\ncount=0\r\n"
              "[SKINCONTROLS]\r\ncount=0\r\n");
    ini.close();
    TbsCompressedStoredSkin skin;
    EXPECT_THROW(skin.ImportSkinFolder(ini.fileName()), EInvalidGraphic);
    EXPECT_TRUE(skin.IsEmpty());
}
