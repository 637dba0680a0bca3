// pixolo-skinpack render FILE ENTRY WIDTH HEIGHT OUT.png: draws one entry of a packed skin at a size, the way its
// window or control draws it, for checking a skin by eye.
#include "Commands.h"

#include "skin/SkinPreview.h"
#include "skin/TbsSkinData.h"

#include <QImage>
#include <QRegion>

#include <optional>
#include <stdexcept>

namespace pixolo
{

namespace
{

// Pixels outside the shape become transparent, so the PNG shows the window's outline.
QImage shaped(const QImage &image, const std::optional<QRegion> &shape)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    if (!shape) {
        return result;
    }
    for (int y = 0; y < result.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            if (!shape->contains(QPoint(x, y))) {
                row[x] = 0;
            }
        }
    }
    return result;
}

std::string entryNames(const TbsSkinData &store)
{
    std::string names = "form";
    for (const auto &control : store.ControlList) {
        names += ", " + control->IDName.toStdString();
    }
    return names;
}

} // namespace

int renderCommand(const QStringList &args, std::FILE *out)
{
    const QString &entryName = args[1];
    const QSize asked(sizeArgument(args[2]), sizeArgument(args[3]));
    const QString &target = args[4];

    TbsSkinData store;
    loadSkinFile(args[0], store);
    if (store.Empty()) {
        throw std::runtime_error(args[0].toStdString() + " holds no skin");
    }

    QImage image;
    std::optional<QRegion> shape;
    if (entryName == QLatin1String("form")) {
        image = formFrameImage(store, asked);
        shape = formRegion(store, asked);
        if (image.isNull()) {
            throw std::runtime_error("the skin has no form picture");
        }
    } else {
        const int index = store.FindControlIndex(entryName);
        if (index < 0) {
            throw std::runtime_error("no entry '" + entryName.toStdString() + "'; the skin has " + entryNames(store));
        }
        const TbsDataSkinControl &entry = *store.ControlList[size_t(index)];
        image = controlImage(store, entry, asked);
        shape = controlRegion(store, entry, asked);
        if (image.isNull()) {
            throw std::runtime_error(
                "entry '" + entryName.toStdString() + "' has no picture or an empty skin rectangle");
        }
    }
    if (!shaped(image, shape).save(target, "PNG")) {
        throw std::runtime_error("cannot write " + target.toStdString());
    }
    std::fprintf(out, "%s: %d x %d%s%s\n", qPrintable(entryName), image.width(), image.height(),
        image.size() == asked ? "" : " (the size its skin allows)", shape ? ", shaped by its mask" : "");
    return 0;
}

} // namespace pixolo
