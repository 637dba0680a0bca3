// pixolo-skinart OUTDIR: draws Pixolo's skin and writes skin.ini with its BMP files into OUTDIR.
#include "Art.h"
#include "Description.h"
#include "Pixels.h"

#include "skin/BmpFile.h"

#include <QDir>
#include <QGuiApplication>
#include <QSaveFile>

#include <cstdio>
#include <exception>

using namespace pixolo;

int main(int argc, char **argv)
{
    QGuiApplication::setApplicationName(QStringLiteral("pixolo-skinart"));
    if (argc != 2) {
        std::fputs("usage: pixolo-skinart OUTDIR\n", stderr);
        return 2;
    }
    try {
        const QDir dir(QString::fromLocal8Bit(argv[1]));
        if (!dir.exists() && !QDir().mkpath(dir.path())) {
            throw std::runtime_error("cannot create " + dir.path().toStdString());
        }
        const SkinArt art = drawSkinArt();
        saveBmpFile(bitmap8(art.frame), dir.filePath(QLatin1String(s_frameFile)));
        saveBmpFile(bitmap1(art.mask), dir.filePath(QLatin1String(s_maskFile)));
        const TBitmap pictures[]
            = { bitmap24(art.controls), bitmap24(art.menuItems), bitmap24(art.popup), bitmap24(art.captionButtons),
                  bitmap1(art.popupMask), bitmap24(art.panels), bitmap24(art.extras), bitmap8(art.hint) };
        for (size_t i = 0; i < std::size(pictures); ++i) {
            saveBmpFile(pictures[i], dir.filePath(QLatin1String(s_pictureFiles[i])));
        }
        QSaveFile ini(dir.filePath(QStringLiteral("skin.ini")));
        const QByteArray text = skinDescription().join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
        if (!ini.open(QIODevice::WriteOnly) || ini.write(text) != text.size() || !ini.commit()) {
            throw std::runtime_error("cannot write " + ini.fileName().toStdString());
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "pixolo-skinart: %s\n", e.what());
        return 1;
    }
    return 0;
}
