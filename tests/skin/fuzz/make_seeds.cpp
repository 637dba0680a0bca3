// make_seeds CORPUS SKIN.INI: starting inputs for the two fuzzers, made with the project's own writers.
#include "skin/BmpFile.h"
#include "skin/TCustomZlibStream.h"
#include "skin/TbsCompressedStoredSkin.h"

#include <QDir>
#include <QFile>

#include <cstdio>

using namespace pixolo;

namespace {

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

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fputs("usage: make_seeds CORPUS SKIN.INI\n", stderr);
        return 2;
    }
    const QDir corpus(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(corpus.filePath("container"));
    QDir().mkpath(corpus.filePath("description"));
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
    QFile skin(QString::fromLocal8Bit(argv[2]));
    if (skin.open(QIODevice::ReadOnly)) {
        save(corpus.filePath("description/pixolo"), skin.readAll());
    }
    return 0;
}
