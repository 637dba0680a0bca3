// BMP files: every depth read back as written, and bad headers refused before anything is read past the data.
#include "skin/BmpFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>
#include <functional>

using namespace pixolo;

namespace
{

// A bitmap whose pixels differ from their neighbours, in the given format.
TBitmap patterned(int width, int height, TPixelFormat format)
{
    if (TBitmap::storageFormat(format) == QImage::Format_Indexed8) {
        const int colours = format == pf1bit ? 2 : format == pf4bit ? 16 : 256;
        QImage image(width, height, QImage::Format_Indexed8);
        QList<QRgb> table;
        for (int i = 0; i < colours; ++i) {
            table.append(qRgb(i * 7 % 256, 255 - i, i * 3 % 256));
        }
        image.setColorTable(table);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                image.scanLine(y)[x] = uchar((x * 5 + y * 3) % colours);
            }
        }
        TBitmap bitmap;
        bitmap.setImage(image, format);
        return bitmap;
    }
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgb(x * 40 % 256, y * 60 % 256, (x + y) * 20 % 256));
        }
    }
    TBitmap bitmap;
    bitmap.setImage(image, format);
    return bitmap;
}

void put32(QByteArray &bytes, int at, quint32 value)
{
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
    }
}

void put16(QByteArray &bytes, int at, quint16 value)
{
    bytes[at] = char(value & 0xFF);
    bytes[at + 1] = char(value >> 8);
}

} // namespace

class BmpRoundTripTest : public testing::TestWithParam<std::tuple<TPixelFormat, int>>
{
};

TEST_P(BmpRoundTripTest, ReadsBackEveryPixelInTheSameFormat) // odd widths test the row padding
{
    const auto [format, width] = GetParam();
    const TBitmap original = patterned(width, 3, format);
    const QByteArray file = writeBmp(original);
    qsizetype consumed = 0;
    const TBitmap back = readBmp(file + "next field", &consumed);
    EXPECT_EQ(consumed, file.size());
    EXPECT_EQ(quint32(uchar(file[2]) | uchar(file[3]) << 8 | uchar(file[4]) << 16), quint32(file.size()));
    EXPECT_EQ(back.PixelFormat(), format);
    EXPECT_EQ(
        back.image().convertToFormat(QImage::Format_RGB32), original.image().convertToFormat(QImage::Format_RGB32));
}

INSTANTIATE_TEST_SUITE_P(Depths, BmpRoundTripTest,
    testing::Combine(
        testing::Values(pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit), testing::Values(1, 3, 9, 17)));

TEST(BmpFileTest, ReadsTopDownRowsAndBitFieldMasks)
{
    // A 2 × 2 32-bit top-down file whose masks put red in the low byte.
    QByteArray file(14 + 40 + 12 + 16, '\0');
    file[0] = 'B';
    file[1] = 'M';
    put32(file, 2, quint32(file.size()));
    put32(file, 10, 14 + 40 + 12);
    put32(file, 14, 40);
    put32(file, 18, 2);
    put32(file, 22, quint32(-2));
    put16(file, 26, 1);
    put16(file, 28, 32);
    put32(file, 30, 3);
    put32(file, 54, 0x000000FF);
    put32(file, 58, 0x0000FF00);
    put32(file, 62, 0x00FF0000);
    const quint32 pixels[] = { 0x000000FF, 0x0000FF00, 0x00FF0000, 0x00102030 };
    for (int i = 0; i < 4; ++i) {
        put32(file, 66 + 4 * i, pixels[i]);
    }
    const QImage image = readBmp(file).toRgb32();
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0)); // first row in the file is the top row
    EXPECT_EQ(image.pixel(1, 0), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(0, 1), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(1, 1), qRgb(0x30, 0x20, 0x10));
}

TEST(BmpFileTest, IndexesPastAShortColourTableReadAsBlack)
{
    QByteArray file = writeBmp(patterned(8, 1, pf1bit));
    put32(file, 46, 1); // colour table of one entry; the pixels keep using index 1
    file.remove(14 + 40 + 4, 4);
    put32(file, 2, quint32(file.size()));
    put32(file, 10, 14 + 40 + 4);
    const TBitmap bitmap = readBmp(file);
    EXPECT_EQ(bitmap.image().colorTable().size(), 2);
    EXPECT_EQ(bitmap.image().colorTable()[1], qRgb(0, 0, 0));
}

struct Damage {
    const char *what;
    std::function<void(QByteArray &)> apply;
};

class BmpRefusalTest : public testing::TestWithParam<Damage>
{
};

TEST_P(BmpRefusalTest, RefusesTheFileWithAClearError)
{
    QByteArray file = writeBmp(patterned(5, 4, pf8bit)); // 14 + 40 + 1024 + 4 × 8 bytes
    GetParam().apply(file);
    try {
        readBmp(file);
        ADD_FAILURE() << GetParam().what << ": accepted";
    } catch (const EInvalidGraphic &e) {
        EXPECT_TRUE(std::string(e.what()).starts_with("Bitmap image is not valid: ")) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Headers, BmpRefusalTest,
    testing::Values(Damage { "empty", [](QByteArray &f) { f.clear(); } },
        Damage { "no BM", [](QByteArray &f) { f[0] = 'X'; } },
        Damage { "shorter than a file header", [](QByteArray &f) { f.truncate(10); } },
        Damage { "size field below the headers", [](QByteArray &f) { put32(f, 2, 20); } },
        Damage { "size field beyond the data", [](QByteArray &f) { put32(f, 2, quint32(f.size() + 1)); } },
        Damage { "cut pixel rows, honest size",
            [](QByteArray &f) {
                f.chop(3);
                put32(f, 2, quint32(f.size()));
            } },
        Damage { "core header", [](QByteArray &f) { put32(f, 14, 12); } },
        Damage { "header longer than the file",
            [](QByteArray &f) {
                put32(f, 14, 124);
                f.truncate(100);
                put32(f, 2, 100);
            } },
        Damage { "two planes", [](QByteArray &f) { put16(f, 26, 2); } },
        Damage { "7 bits", [](QByteArray &f) { put16(f, 28, 7); } },
        Damage { "run-length compressed", [](QByteArray &f) { put32(f, 30, 1); } },
        Damage { "bit fields at 8 bits", [](QByteArray &f) { put32(f, 30, 3); } },
        Damage { "width 0", [](QByteArray &f) { put32(f, 18, 0); } },
        Damage { "negative width", [](QByteArray &f) { put32(f, 18, quint32(-5)); } },
        Damage { "height 0", [](QByteArray &f) { put32(f, 22, 0); } },
        Damage { "lowest height", [](QByteArray &f) { put32(f, 22, quint32(INT_MIN)); } },
        Damage { "huge height", [](QByteArray &f) { put32(f, 22, 0x7FFFFFFF); } },
        Damage { "huge width", [](QByteArray &f) { put32(f, 18, 0x7FFFFFFF); } },
        Damage { "pixels start in the colour table", [](QByteArray &f) { put32(f, 10, 60); } },
        Damage { "pixels start past the end", [](QByteArray &f) { put32(f, 10, 0xFFFFFFF0); } },
        Damage { "colour table of 300 entries", [](QByteArray &f) { put32(f, 46, 300); } }),
    [](const testing::TestParamInfo<Damage> &info) {
        std::string name;
        for (const char c : std::string(info.param.what)) {
            name += std::isalnum(uchar(c)) ? c : '_';
        }
        return name;
    });

TEST(BmpFileTest, EmptyBitmapsAndMissingFilesAreErrors)
{
    EXPECT_THROW(writeBmp(TBitmap()), EInvalidGraphic);
    QTemporaryDir dir;
    EXPECT_THROW(loadBmpFile(dir.filePath("missing.bmp")), EFOpenError);
    const TBitmap bitmap = patterned(3, 2, pf24bit);
    saveBmpFile(bitmap, dir.filePath("saved.bmp"));
    EXPECT_EQ(loadBmpFile(dir.filePath("saved.bmp")).image(), bitmap.image());
    QFile bad(dir.filePath("bad.bmp"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("BM not really");
    bad.close();
    try {
        loadBmpFile(bad.fileName());
        ADD_FAILURE() << "accepted";
    } catch (const EInvalidGraphic &e) {
        EXPECT_TRUE(std::string(e.what()).ends_with("(" + bad.fileName().toStdString() + ")")) << e.what();
    }
}
