// pixolo-skinpack against hostile and broken skins: an inflation bomb is refused without taking memory, and pack
// refuses what describe and the program would refuse, writing nothing.
#include "ToolRun.h"
#include "ZeroStream.h"

#include "skin/TbsCompressedStoredSkin.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>

namespace
{

const QString kSkinPack = QStringLiteral("pixolo-skinpack");

// A zlib stream of `size` zero bytes, written to `path`.
void writeZeros(const QString &path, qint64 size)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(
        pixolo::test::deflateZeros(size, 9, [&](const char *data, qsizetype length) { file.write(data, length); }));
}

// A copy of Pixolo's skin folder in which `edit` may change the description.
QString copySkin(const QTemporaryDir &dir, const std::function<void(QByteArray &)> &edit = {})
{
    const QDir source(QStringLiteral(PIXOLO_SOURCE_DIR "/skins/pixolo"));
    for (const QString &name : source.entryList(QDir::Files)) {
        QFile::copy(source.filePath(name), dir.filePath(name));
    }
    const QString ini = dir.filePath(QStringLiteral("skin.ini"));
    if (edit) {
        QFile file(ini);
        EXPECT_TRUE(file.open(QIODevice::ReadWrite));
        QByteArray text = file.readAll();
        edit(text);
        file.resize(0);
        file.write(text);
    }
    return ini;
}

TEST(SkinPackTest, DescribeRefusesAMegabyteThatInflatesToAGigabyteWithoutTakingTheMemory)
{
    QTemporaryDir dir;
    const QString bomb = dir.filePath(QStringLiteral("bomb.skin"));
    writeZeros(bomb, qint64(1) << 30);
    ASSERT_LT(QFileInfo(bomb).size(), 2 << 20);
    for (const QStringList &args : { QStringList { QStringLiteral("describe"), bomb },
             QStringList { QStringLiteral("render"), bomb, QStringLiteral("form"), QStringLiteral("10"),
                 QStringLiteral("10"), dir.filePath(QStringLiteral("out.png")) },
             QStringList {
                 QStringLiteral("icon"), bomb, QStringLiteral("48"), dir.filePath(QStringLiteral("icon.png")) } }) {
        const ToolRun run = ToolRun::headless(kSkinPack, args);
        EXPECT_EQ(run.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(bomb)) << run.err.toStdString(); // says which file
        EXPECT_TRUE(run.err.contains(QString::number(pixolo::TbsCompressedStoredSkin::s_maxInflatedSize)))
            << run.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("out.png"))));
    // The largest of this test's children stayed far below the gigabyte (it took 6 GB before the bound).
    rusage usage {};
    ASSERT_EQ(getrusage(RUSAGE_CHILDREN, &usage), 0);
    EXPECT_LT(usage.ru_maxrss, 512 * 1024) << usage.ru_maxrss << " KiB";
}

TEST(SkinPackTest, PackRefusesAValueTheProgramWouldRejectAndWritesNothing)
{
    QTemporaryDir dir;
    const QString ini = copySkin(dir,
        [](QByteArray &text) { text.replace("[caption1]\r\nskinrect=30,10,102,26", "[caption1]\r\nskinrect=30,10"); });
    const QString out = dir.filePath(QStringLiteral("out.skin"));
    const ToolRun run = ToolRun::headless(kSkinPack, { QStringLiteral("pack"), ini, out });
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("would not load"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(ini)) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out));
}

TEST(SkinPackTest, PackRefusesAPictureLargerThanASkinMayHold)
{
    QTemporaryDir dir;
    const QString ini = copySkin(dir);
    // A 1-bit 5000 × 4000 picture is 2.5 MB on disk but past the pixel bound.
    QFile frame(dir.filePath(QStringLiteral("frame.bmp")));
    ASSERT_TRUE(frame.open(QIODevice::WriteOnly));
    const int width = 5000;
    const int height = 4000;
    const int stride = (width + 31) / 32 * 4;
    QByteArray bmp(62 + qsizetype(stride) * height, '\0');
    const auto put32 = [&](int at, quint32 v) {
        for (int i = 0; i < 4; ++i) {
            bmp[at + i] = char((v >> (8 * i)) & 0xFF);
        }
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, quint32(bmp.size()));
    put32(10, 62);
    put32(14, 40);
    put32(18, width);
    put32(22, height);
    bmp[26] = 1;
    bmp[28] = 1;
    frame.write(bmp);
    frame.close();
    const QString out = dir.filePath(QStringLiteral("out.skin"));
    const ToolRun run = ToolRun::headless(kSkinPack, { QStringLiteral("pack"), ini, out });
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("more pixels"))) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out));
}

TEST(SkinPackTest, PixolosOwnSkinPacksAndDescribesItself)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("pixolo.skin"));
    const ToolRun pack = ToolRun::headless(kSkinPack, { QStringLiteral("pack"), copySkin(dir), out });
    ASSERT_EQ(pack.exitCode, 0) << pack.err.toStdString();
    const ToolRun describe = ToolRun::headless(kSkinPack, { QStringLiteral("describe"), out });
    ASSERT_EQ(describe.exitCode, 0) << describe.err.toStdString();
    EXPECT_TRUE(describe.out.contains(QStringLiteral("version: 3"))) << describe.out.toStdString();
    EXPECT_TRUE(describe.out.contains(QStringLiteral("numbered pictures: 8")));
}

} // namespace
