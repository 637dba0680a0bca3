// The snapshot's encoder and photo files: what lands on disk.
#include "app/JpegEncoder.h"
#include "app/PhotoFile.h"
#include "platform/AtomicFile.h"
#include "platform/TBitmap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "ProcessLimits.h"

#include <cerrno>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

using namespace pixolo;

namespace
{

// The standard luminance quantisation table scaled to quality 75 (scale 50 %), in zig-zag order as stored.
constexpr int kLuminanceQ75ZigZag[8] = { 8, 6, 6, 7, 6, 5, 8, 7 };

TBitmap gradient(int width, int height)
{
    TBitmap bitmap(width, height, pf24bit);
    for (int y = 0; y < height; ++y) {
        uchar *row = bitmap.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x + 0] = uchar(x * 255 / std::max(1, width - 1)); // blue
            row[3 * x + 1] = uchar(y * 255 / std::max(1, height - 1)); // green
            row[3 * x + 2] = 200; // red
        }
    }
    return bitmap;
}

// The payload of the first marker `code` (0xC0 = baseline frame, 0xDB = quantisation table), or empty.
QByteArray segment(const QByteArray &jpeg, unsigned char code)
{
    for (qsizetype i = 2; i + 4 <= jpeg.size();) {
        if (uchar(jpeg[i]) != 0xFF) {
            return {};
        }
        const unsigned char marker = uchar(jpeg[i + 1]);
        const int length = (uchar(jpeg[i + 2]) << 8) | uchar(jpeg[i + 3]);
        if (marker == code) {
            return jpeg.mid(i + 4, length - 2);
        }
        if (marker == 0xDA) {
            return {};
        }
        i += 2 + length;
    }
    return {};
}

} // namespace

TEST(JpegEncoderTest, EncodesBaselineColourAtQuality75)
{
    const auto jpeg = JpegEncoder::encode(gradient(64, 48), 75);
    ASSERT_TRUE(jpeg.has_value());
    ASSERT_TRUE(jpeg->startsWith("\xFF\xD8\xFF\xE0")); // JFIF
    const QByteArray frame = segment(*jpeg, 0xC0);
    ASSERT_EQ(frame.size(), 1 + 4 + 1 + 3 * 3) << "no baseline frame header";
    EXPECT_EQ((uchar(frame[1]) << 8) | uchar(frame[2]), 48);
    EXPECT_EQ((uchar(frame[3]) << 8) | uchar(frame[4]), 64);
    EXPECT_EQ(uchar(frame[5]), 3); // colour
    EXPECT_TRUE(segment(*jpeg, 0xC2).isEmpty());
    const QByteArray tables = segment(*jpeg, 0xDB);
    ASSERT_GE(tables.size(), 65);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(uchar(tables[1 + i]), kLuminanceQ75ZigZag[i]) << "entry " << i;
    }
}

TEST(JpegEncoderTest, DecodesBackToTheSamePicture)
{
    const TBitmap bitmap = gradient(321, 17); // odd width: rows are not multiples of four
    const auto jpeg = JpegEncoder::encode(bitmap, 75);
    ASSERT_TRUE(jpeg.has_value());
    const QImage decoded = QImage::fromData(*jpeg, "JPG").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(decoded.size(), QSize(321, 17));
    const QImage original = bitmap.toRgb32();
    int worst = 0;
    for (int y = 0; y < 17; ++y) {
        for (int x = 0; x < 321; ++x) {
            const QRgb a = original.pixel(x, y);
            const QRgb b = decoded.pixel(x, y);
            worst = std::max(
                { worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b)) });
        }
    }
    EXPECT_LT(worst, 40); // lossy, but the colours (and their order: red is not blue) come through
}

TEST(JpegEncoderTest, EveryComponentOrderGivesTheSameFile)
{
    // A camera frame is fed in its own BGR order, a 32-bit picture in its own, anything else as a 24-bit RGB copy:
    // the same picture must give the same file every way. 256 colours, so that an 8-bit copy holds them exactly.
    TBitmap bgr(61, 37, pf24bit);
    for (int y = 0; y < bgr.Height(); ++y) {
        uchar *row = bgr.ScanLine(y);
        for (int x = 0; x < bgr.Width(); ++x) {
            row[3 * x + 0] = uchar((x % 8) * 36); // blue
            row[3 * x + 1] = uchar((y % 8) * 36); // green
            row[3 * x + 2] = uchar(((x + y) % 4) * 85); // red
        }
    }
    const auto fromBgr = JpegEncoder::encode(bgr, 75);
    ASSERT_TRUE(fromBgr.has_value());
    const TBitmap rgb32(bgr.image().convertToFormat(QImage::Format_RGB32));
    const TBitmap indexed(bgr.image().convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither));
    ASSERT_EQ(rgb32.PixelFormat(), pf32bit);
    ASSERT_EQ(indexed.PixelFormat(), pf8bit);
    ASSERT_EQ(indexed.image().convertToFormat(QImage::Format_BGR888), bgr.image()) << "the copy lost colours";
    EXPECT_EQ(JpegEncoder::encode(rgb32, 75), fromBgr);
    EXPECT_EQ(JpegEncoder::encode(indexed, 75), fromBgr);
}

TEST(JpegEncoderTest, EmptyBitmapGivesAnEmptyImage)
{
    const auto jpeg = JpegEncoder::encode(TBitmap(), 75);
    ASSERT_TRUE(jpeg.has_value());
    EXPECT_TRUE(jpeg->isEmpty());
}

TEST(PhotoFileTest, NamesAreThePathTextAndTheLocalTimeStamp)
{
    const QDateTime when(QDate(2026, 1, 2), QTime(3, 4, 5));
    EXPECT_EQ(PhotoFile::fileName(QStringLiteral("/photos/"), when), QStringLiteral("/photos/20260102030405.jpg"));
    // Without a final separator the last component becomes the start of the name.
    EXPECT_EQ(PhotoFile::fileName(QStringLiteral("/home/me/Photos"), when),
        QStringLiteral("/home/me/Photos20260102030405.jpg"));
    EXPECT_EQ(
        PhotoFile::fileName(QStringLiteral("/ph\noto\ts/\r\n"), when), QStringLiteral("/photos/20260102030405.jpg"));
    EXPECT_EQ(PhotoFile::settingsText(QStringLiteral("  /a b/\x01\n ")), QStringLiteral("/a b/"));
    EXPECT_EQ(PhotoFile::settingsText(QStringLiteral(" /a\r\nb/ ")), QStringLiteral("/ab/"));
}

TEST(PhotoFileTest, NeverOverwritesAPhotoTakenInTheSameSecond)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    const QDateTime when(QDate(2026, 12, 9), QTime(10, 0, 0));
    EXPECT_EQ(PhotoFile::store(folder, when, "one"), folder + QStringLiteral("20261209100000.jpg"));
    EXPECT_EQ(PhotoFile::store(folder, when, "two"), folder + QStringLiteral("20261209100000-2.jpg"));
    EXPECT_EQ(PhotoFile::store(folder, when, "three"), folder + QStringLiteral("20261209100000-3.jpg"));
    QFile first(folder + QStringLiteral("20261209100000.jpg"));
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    EXPECT_EQ(first.readAll(), QByteArray("one"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

TEST(PhotoFileTest, MissingFolderGivesTheCreateErrorAndNoFile)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/gone/");
    const QDateTime when(QDate(2026, 12, 9), QTime(10, 0, 0));
    try {
        PhotoFile::store(folder, when, "data");
        FAIL() << "no error";
    } catch (const ECreateFileError &error) {
        EXPECT_EQ(QString::fromUtf8(error.what()),
            QStringLiteral("Cannot create file \"") + folder
                + QStringLiteral("20261209100000.jpg\". No such file or directory"));
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
}

namespace
{

// Counts the syncs of files and of folders that go through the atomic writer.
struct SyncCount {
    static inline int files = 0;
    static inline int folders = 0;
    static int count(int fd)
    {
        struct stat info {
        };
        ::fstat(fd, &info);
        ++(S_ISDIR(info.st_mode) ? folders : files);
        return ::fsync(fd);
    }
    SyncCount()
    {
        files = folders = 0;
        AtomicFile::setSyncFunction(&count);
    }
    ~SyncCount() { AtomicFile::setSyncFunction(nullptr); }
};

void makeFile(const QString &path, int ageSeconds, const QByteArray &data = "partial jpeg")
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
    file.close();
    const timeval now { ::time(nullptr) - ageSeconds, 0 };
    const timeval times[2] = { now, now };
    ASSERT_EQ(::utimes(QFile::encodeName(path).constData(), times), 0);
}

} // namespace

TEST(PhotoFileTest, ABurstWritesAndSyncsEachPhotoOnce)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    const QDateTime when(QDate(2026, 12, 9), QTime(10, 0, 0));
    const SyncCount syncs;
    QStringList stored;
    for (int shot = 1; shot <= 50; ++shot) {
        stored << PhotoFile::store(folder, when, QByteArray::number(shot));
    }
    EXPECT_EQ(SyncCount::files, 50); // one per photo, however many names were taken before it
    EXPECT_EQ(SyncCount::folders, 50);
    EXPECT_EQ(stored.front(), folder + QStringLiteral("20261209100000.jpg"));
    EXPECT_EQ(stored.back(), folder + QStringLiteral("20261209100000-50.jpg"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 50); // no temporary file left
    QFile last(stored.back());
    ASSERT_TRUE(last.open(QIODevice::ReadOnly));
    EXPECT_EQ(last.readAll(), QByteArray("50"));
}

TEST(PhotoFileTest, StaleTemporaryPhotosGoAndEverythingElseStays)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    const QStringList stale
        = { QStringLiteral(".20261209100000.jpg.AbC123"), QStringLiteral(".20261209100000-7.jpg.x9Y8z7") };
    for (const QString &name : stale) {
        makeFile(folder + name, 120);
    }
    const QStringList kept = {
        QStringLiteral(".20261209100001.jpg.Fresh1"), // written a moment ago: a copy may still be writing it
        QStringLiteral("20261209100000.jpg"), // a photo
        QStringLiteral(".notes.txt.AbC123"), // someone else's temporary file
        QStringLiteral(".2026120910000.jpg.AbC123"), // not a photo's name (13 digits)
        QStringLiteral(".20261209100000.jpg.AbC12"), // not our temporary name
        QStringLiteral(".Photos20261209100000.jpg.AbC123"), // photos of another path text
    };
    makeFile(folder + kept[0], 0);
    for (const QString &name : kept.mid(1)) {
        makeFile(folder + name, 120);
    }
    // A link with a matching name is not ours to remove, nor is what it points at.
    makeFile(dir.filePath(QStringLiteral("target.jpg")), 120);
    ASSERT_EQ(
        ::symlink("target.jpg", QFile::encodeName(folder + QStringLiteral(".20261209100002.jpg.Link12")).constData()),
        0);

    // Another user's file of that name is not ours either (only root can make one for the test).
    const QString foreign = QStringLiteral(".20261209100003.jpg.Other9");
    if (::geteuid() == 0) {
        makeFile(folder + foreign, 120);
        ASSERT_EQ(::chown(QFile::encodeName(folder + foreign).constData(), 65534, 65534), 0);
    }

    EXPECT_EQ(PhotoFile::tidyTemporaryFiles(folder).removed, 2);
    const QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : stale) {
        EXPECT_FALSE(left.contains(name)) << name.toStdString();
    }
    for (const QString &name : kept) {
        EXPECT_TRUE(left.contains(name)) << name.toStdString();
    }
    EXPECT_TRUE(left.contains(QStringLiteral(".20261209100002.jpg.Link12")));
    EXPECT_TRUE(left.contains(QStringLiteral("target.jpg")));
    EXPECT_EQ(left.contains(foreign), ::geteuid() == 0);

    // Photos named after a path text without a final separator: the temporary files of that prefix.
    makeFile(folder + QStringLiteral(".Photos20261209100000.jpg.Other1"), 120);
    EXPECT_EQ(PhotoFile::tidyTemporaryFiles(folder + QStringLiteral("Photos")).removed, 2);
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files | QDir::Hidden).contains(QStringLiteral("20261209100000.jpg")));
}

TEST(PhotoFileTest, AWholePhotoLeftHiddenGetsItsOwnNameAndTime)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    const QByteArray photo = QByteArray("\xFF\xD8\xFF\xE0 the picture \xFF\xD9", 19);
    const QByteArray later = QByteArray("\xFF\xD8 a later one \xFF\xD9", 17);
    // The name it was going to have is taken since: it takes the next free one. Its age does not matter.
    makeFile(folder + QStringLiteral("20261209100000.jpg"), 600, "another photo");
    makeFile(folder + QStringLiteral(".20261209100000.jpg.Ab12Cd"), 7200, photo);
    makeFile(folder + QStringLiteral(".20261209100005-3.jpg.Zz99Yy"), 0, later);
    // Parts of photos: cut before the end marker, or the end marker without the start.
    makeFile(folder + QStringLiteral(".20261209100007.jpg.Cut123"), 120, photo.chopped(1));
    makeFile(folder + QStringLiteral(".20261209100008.jpg.Cut456"), 120, "\xFF\xD9");
    makeFile(folder + QStringLiteral(".20261209100009.jpg.Fresh1"), 0, photo.chopped(2)); // may be being written
    // Photos of a prefix text: only those of the text tidied.
    makeFile(folder + QStringLiteral(".cam1-20261209100000.jpg.Pre123"), 120, photo);

    const PhotoFile::TidiedFiles tidied = PhotoFile::tidyTemporaryFiles(folder);
    EXPECT_EQ(tidied.recovered, 2);
    EXPECT_EQ(tidied.removed, 2);
    const auto contents = [&](const QString &name) {
        QFile file(folder + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    };
    EXPECT_EQ(contents(QStringLiteral("20261209100000.jpg")), QByteArray("another photo"));
    EXPECT_EQ(contents(QStringLiteral("20261209100000-2.jpg")), photo);
    EXPECT_EQ(contents(QStringLiteral("20261209100005-3.jpg")), later);
    const qint64 age = QFileInfo(folder + QStringLiteral("20261209100000-2.jpg"))
                           .lastModified()
                           .secsTo(QDateTime::currentDateTime());
    EXPECT_NEAR(age, 7200, 5); // the time it was taken, not the time it was found
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name),
        (QStringList { QStringLiteral(".20261209100009.jpg.Fresh1"), QStringLiteral(".cam1-20261209100000.jpg.Pre123"),
            QStringLiteral("20261209100000-2.jpg"), QStringLiteral("20261209100000.jpg"),
            QStringLiteral("20261209100005-3.jpg") }));

    const PhotoFile::TidiedFiles prefixed = PhotoFile::tidyTemporaryFiles(folder + QStringLiteral("cam1-"));
    EXPECT_EQ(prefixed.recovered, 1);
    EXPECT_EQ(contents(QStringLiteral("cam1-20261209100000.jpg")), photo);

    // A folder that takes no file now (full): the photo stays hidden for a later try, and is not removed.
    makeFile(folder + QStringLiteral(".20261209100010.jpg.Kept12"), 7200, photo);
    AtomicFile::setLinkFunction([](const char *, const char *) {
        errno = ENOSPC;
        return -1;
    });
    const PhotoFile::TidiedFiles full = PhotoFile::tidyTemporaryFiles(folder);
    AtomicFile::setLinkFunction(nullptr);
    EXPECT_EQ(full.recovered, 0);
    EXPECT_EQ(full.removed, 0);
    EXPECT_EQ(contents(QStringLiteral(".20261209100010.jpg.Kept12")), photo);
    EXPECT_EQ(PhotoFile::tidyTemporaryFiles(folder).recovered, 1);
    EXPECT_EQ(contents(QStringLiteral("20261209100010.jpg")), photo);
}

TEST(PhotoFileTest, AFailedWriteNamesThePhotoThatCouldNotBeWritten)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    const QDateTime when(QDate(2026, 12, 9), QTime(10, 0, 0));
    PhotoFile::store(folder, when, "earlier shot");

    QString message;
    {
        const test::FileSizeLimit limit(64); // the disk is full for this photo
        ASSERT_TRUE(limit.set());
        try {
            PhotoFile::store(folder, when, QByteArray(1000, 'j'));
        } catch (const ECreateFileError &error) {
            message = QString::fromUtf8(error.what());
        }
    }

    EXPECT_TRUE(message.startsWith(
        QStringLiteral("Cannot create file \"") + folder + QStringLiteral("20261209100000-2.jpg\". ")))
        << message.toStdString();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList { QStringLiteral("20261209100000.jpg") });
}

namespace
{

int linksRefused(const char *, const char *)
{
    errno = EPERM; // as exFAT answers; FAT answers the same through fusefat
    return -1;
}

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A FAT file system image mounted with fusefat for the test's life; mounted() is false where the machine cannot
// (no fusefat, mkfs.vfat or /dev/fuse).
class FatFolder
{
public:
    FatFolder()
    {
        const QString image = m_dir.filePath(QStringLiteral("card.img"));
        m_mountPoint = m_dir.filePath(QStringLiteral("card"));
        QDir().mkpath(m_mountPoint);
        QFile file(image);
        if (!file.open(QIODevice::WriteOnly) || !file.resize(16 * 1024 * 1024)) {
            return;
        }
        file.close();
        const QString mkfs = QStandardPaths::findExecutable(QStringLiteral("mkfs.vfat"),
            { QStringLiteral("/usr/sbin"), QStringLiteral("/sbin"), QStringLiteral("/usr/bin") });
        m_mounted = !mkfs.isEmpty() && QProcess::execute(mkfs, { image }) == 0
            && QProcess::execute(
                   QStringLiteral("fusefat"), { QStringLiteral("-o"), QStringLiteral("rw+"), image, m_mountPoint })
                == 0;
    }
    ~FatFolder()
    {
        if (m_mounted) {
            QProcess::execute(QStringLiteral("fusermount"), { QStringLiteral("-u"), m_mountPoint });
        }
    }
    bool mounted() const { return m_mounted; }
    QString path() const { return m_mountPoint + QLatin1Char('/'); }

private:
    QTemporaryDir m_dir;
    QString m_mountPoint;
    bool m_mounted = false;
};

} // namespace

TEST(PhotoFileTest, WithoutHardLinksPhotosAreStillStoredAndNeverOverwritten)
{
    AtomicFile::setLinkFunction(&linksRefused);
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    const QDateTime when(QDate(2026, 12, 9), QTime(10, 0, 0));
    EXPECT_EQ(PhotoFile::store(folder, when, "one"), folder + QStringLiteral("20261209100000.jpg"));
    EXPECT_EQ(PhotoFile::store(folder, when, "two"), folder + QStringLiteral("20261209100000-2.jpg"));
    AtomicFile::setLinkFunction(nullptr);
    EXPECT_EQ(contentsOf(folder + QStringLiteral("20261209100000.jpg")), QByteArray("one"));
    EXPECT_EQ(contentsOf(folder + QStringLiteral("20261209100000-2.jpg")), QByteArray("two"));
    // No hidden temporary file stays behind.
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 2);

    // A missing folder still says why, and a link refused for another reason is not worked around.
    try {
        AtomicFile::setLinkFunction(&linksRefused);
        PhotoFile::store(folder + QStringLiteral("gone/"), when, "x");
        FAIL() << "no error";
    } catch (const ECreateFileError &error) {
        EXPECT_TRUE(QString::fromUtf8(error.what()).endsWith(QStringLiteral("No such file or directory")))
            << error.what();
    }
    AtomicFile::setLinkFunction(nullptr);
}

TEST(PhotoFileTest, PhotosAreStoredOnARealFatFileSystem)
{
    FatFolder card;
    if (!card.mounted()) {
        GTEST_SKIP() << "no FAT file system can be mounted here (fusefat, mkfs.vfat and /dev/fuse are needed)";
    }
    const QDateTime when(QDate(2026, 12, 9), QTime(10, 0, 0));
    const QByteArray jpeg(200 * 1024, 'j');
    EXPECT_EQ(PhotoFile::store(card.path(), when, jpeg), card.path() + QStringLiteral("20261209100000.jpg"));
    EXPECT_EQ(PhotoFile::store(card.path(), when, "second"), card.path() + QStringLiteral("20261209100000-2.jpg"));
    EXPECT_EQ(contentsOf(card.path() + QStringLiteral("20261209100000.jpg")), jpeg);
    EXPECT_EQ(contentsOf(card.path() + QStringLiteral("20261209100000-2.jpg")), QByteArray("second"));
    EXPECT_EQ(QDir(card.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST(PhotoFileTest, TheFolderTextAsTypedNamesTheFolderOrAPrefix)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/nos");
    QDir().mkpath(folder);
    // An existing folder without the final separator is that folder; blanks and control characters around go.
    EXPECT_EQ(PhotoFile::photoPathText(folder), folder + QLatin1Char('/'));
    EXPECT_EQ(
        PhotoFile::photoPathText(QStringLiteral("  ") + folder + QStringLiteral(" \n")), folder + QLatin1Char('/'));
    // Anything else is a name prefix, as it stands.
    EXPECT_EQ(PhotoFile::photoPathText(folder + QStringLiteral("/cam1-")), folder + QStringLiteral("/cam1-"));
    const QDateTime when(QDate(2026, 12, 9), QTime(23, 15, 39));
    EXPECT_EQ(
        PhotoFile::store(PhotoFile::photoPathText(folder), when, "in"), folder + QStringLiteral("/20261209231539.jpg"));
    EXPECT_EQ(PhotoFile::store(PhotoFile::photoPathText(folder + QStringLiteral("/cam1-")), when, "prefixed"),
        folder + QStringLiteral("/cam1-20261209231539.jpg"));
    EXPECT_FALSE(QFile::exists(dir.path() + QStringLiteral("/nos20261209231539.jpg")));

    // "~/" is the home folder; an empty text the Pictures folder, made when missing.
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", dir.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (dir.path() + QStringLiteral("/.config")).toLocal8Bit());
    EXPECT_EQ(PhotoFile::photoPathText(QStringLiteral("~/nos")), folder + QLatin1Char('/'));
    EXPECT_EQ(PhotoFile::photoPathText(QStringLiteral("~/shot-")), dir.path() + QStringLiteral("/shot-"));
    EXPECT_EQ(PhotoFile::photoPathText(QStringLiteral(" \t")), dir.path() + QStringLiteral("/Pictures/"));
    EXPECT_TRUE(QFileInfo(dir.path() + QStringLiteral("/Pictures")).isDir());
    qputenv("HOME", home);
    qunsetenv("XDG_CONFIG_HOME");
}
