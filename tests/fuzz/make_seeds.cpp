// make_seeds CORPUS SKIN_FOLDER: starting inputs for the fuzzers, one folder each, made with the project's own
// writers and from Pixolo's own skin.
#include "capture/DeviceMoniker.h"
#include "capture/Guid.h"
#include "capture/TPersistentMemory.h"
#include "skin/BmpFile.h"
#include "skin/TCustomZlibStream.h"
#include "skin/TbsCompressedStoredSkin.h"

#include <QDir>
#include <QFile>

#include <cstdio>

using namespace pixolo;

namespace
{

TBitmap bitmap(TPixelFormat format, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgb(x * 50, y * 70, (x + y) * 30));
        }
    }
    TBitmap b;
    b.SetPixelFormat(format);
    b.setImage(image, format);
    return b;
}

void save(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
    }
}

const char *const s_text = "[VERSION]\r\n[PICTURES]\r\nmask=m.bmp\r\nactivepicturescount=1\r\n0=a.bmp\r\n"
                           "[FORMINFO]\r\nlefttoppoint=4,4\r\nrightbottompoint=8,8\r\nclientrect=2,2,9,9\r\n"
                           "[POPUPWINDOW]\r\nwindowpictureindex=0\r\n[SKINOBJECTS]\r\ncount=2\r\n"
                           "0=caption1:caption\r\n1=close:stdbutton\r\n[SKINCONTROLS]\r\ncount=2\r\n0=panel:panel\r\n"
                           "1=button:button\r\n[caption1]\r\nskinrect=1,1,9,4\r\n[close]\r\ncommand=cmclose\r\n"
                           "downrect=0,0,2,2\r\nactivepictureindex=0\r\n[panel]\r\npictureindex=0\r\n"
                           "lefttoppoint=1,1\r\nrightbottompoint=2,2\r\nclientrect=1,1,2,2\r\n";

// The stored form of a source filter naming a camera: block length, moniker class, identity.
QByteArray storedCamera(const DeviceIdentity &identity)
{
    TPersistentMemory block;
    block.SetBlock(CLSID_DeviceMoniker.toBytes() + identity.toBytes());
    return block.data();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fputs("usage: make_seeds CORPUS SKIN_FOLDER\n", stderr);
        return 2;
    }
    const QDir corpus(QString::fromLocal8Bit(argv[1]));
    const QDir skinFolder(QString::fromLocal8Bit(argv[2]));
    for (const char *target :
        { "container", "description", "bmp", "mask_region", "ini", "scrambler", "device_identity" }) {
        QDir().mkpath(corpus.filePath(QLatin1String(target)));
    }
    int n = 0;
    for (const TPixelFormat format : { pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit }) {
        for (const qint32 version : { 2, 3 }) {
            TMemoryStream container;
            writeContainerInteger(container, version);
            writeFlaggedBitmap(container, bitmap(pf8bit, 10, 10));
            writeFlaggedBitmap(container, TBitmap());
            writeFlaggedBitmap(container, bitmap(pf1bit, 10, 10));
            if (version == 2) {
                writeFlaggedBitmap(container, TBitmap());
                writeFlaggedBitmap(container, bitmap(format, 1, 1));
            }
            writeContainerInteger(container, 1);
            const QByteArray bmp = writeBmp(bitmap(format, 3, 2));
            container.WriteBuffer(bmp.constData(), bmp.size());
            writeContainerText(container, QString::fromLatin1(s_text).split(QStringLiteral("\r\n")));
            save(corpus.filePath(QStringLiteral("container/seed%1").arg(n++)), QByteArray(1, '\0') + container.Data());
            TMemoryStream compressed;
            CompressStream(container, compressed);
            save(corpus.filePath(QStringLiteral("container/seed%1").arg(n++)), QByteArray(1, '\1') + compressed.Data());
        }
    }
    save(corpus.filePath("description/small"), s_text);
    QFile skin(skinFolder.filePath(QStringLiteral("skin.ini")));
    if (skin.open(QIODevice::ReadOnly)) {
        save(corpus.filePath("description/pixolo"), skin.readAll());
    }

    // Pictures of every depth, and the skin's own masks.
    n = 0;
    for (const TPixelFormat format : { pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit }) {
        save(corpus.filePath(QStringLiteral("bmp/seed%1").arg(n++)), writeBmp(bitmap(format, 5, 3)));
    }
    save(corpus.filePath("mask_region/tiny"),
        QByteArray::fromHex("0403"
                            "00010000"
                            "00000002"
                            "ff000000"));
    for (const char *mask : { "popupmask.bmp", "mask.bmp" }) {
        QFile file(skinFolder.filePath(QLatin1String(mask)));
        if (file.open(QIODevice::ReadOnly)) {
            save(corpus.filePath(QStringLiteral("mask_region/") + QLatin1String(mask)), file.readAll());
        }
    }

    // Settings files as people have them: plain, CRLF with a byte-order mark, other sections, GB 18030 bytes. The
    // value to write comes first (a backslash and a letter end it); the last two bytes, 0, choose [Setup] PhotoPath.
    const auto ini = [&](const char *name, const QByteArray &file) {
        save(corpus.filePath(QStringLiteral("ini/") + QLatin1String(name)),
            "/home/me/photos/\\n" + file + QByteArray(2, '\0'));
    };
    ini("plain", "[Setup]\nPhotoPath=/home/me/Pictures/\n");
    ini("bom-crlf", "\xEF\xBB\xBF; comment\r\n[setup]\r\nphotopath = D:\\Photos\\\r\n");
    ini("sections", "[Other]\na=1\n\n[Setup]\nCamera=abc\n\n[Last]\nb=2");
    ini("gb18030", "[Setup]\nPhotoPath=D:\\\xd5\xd5\xc6\xac\\\n");

    // Scrambled texts: the key (a backslash and a letter end it), the text, and last the routine's choice.
    save(corpus.filePath("scrambler/title"),
        "\\n"
        "9026B531488341777644"
        "\x01");
    save(corpus.filePath("scrambler/keyed"),
        "key\\n"
        "1F2E3D4C5B6A79"
        "\x00");

    // Stored cameras: the test camera and one with a device path.
    DeviceIdentity testCamera;
    testCamera.deviceClass = QStringLiteral("Video/Source");
    testCamera.displayName = QStringLiteral("Pixolo Test Camera");
    save(corpus.filePath("device_identity/testcam"), storedCamera(testCamera));
    DeviceIdentity usbCamera = testCamera;
    usbCamera.displayName = QStringLiteral("USB 摄像头");
    usbCamera.properties = { { QStringLiteral("api.v4l2.path"), QStringLiteral("/dev/video0") },
        { QStringLiteral("device.bus"), QStringLiteral("usb") } };
    save(corpus.filePath("device_identity/usb"), storedCamera(usbCamera));
    save(corpus.filePath("device_identity/bare"), usbCamera.toBytes());
    save(corpus.filePath("device_identity/settings-text"),
        (CLSID_DeviceMoniker.toBytes() + usbCamera.toBytes()).toHex());
    return 0;
}
