#include "Commands.h"

#include "skin/TbsCompressedStoredSkin.h"
#include "skin/TbsSkinData.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace pixolo {

namespace {

const char *depthText(TPixelFormat format)
{
    switch (format) {
    case pf1bit:
        return "1 bit";
    case pf4bit:
        return "4 bits";
    case pf8bit:
        return "8 bits";
    case pf15bit:
        return "16 bits (5-5-5)";
    case pf16bit:
        return "16 bits (5-6-5)";
    case pf24bit:
        return "24 bits";
    case pf32bit:
        return "32 bits";
    case pfDevice:
        break;
    }
    return "no pixels";
}

void printPicture(std::FILE *out, const char *label, const TBitmap &bitmap)
{
    if (bitmap.Empty()) {
        std::fprintf(out, "%s: none\n", label);
    } else {
        std::fprintf(out, "%s: %d x %d, %s\n", label, bitmap.Width(), bitmap.Height(), depthText(bitmap.PixelFormat()));
    }
}

int describe(const QString &path, std::FILE *out)
{
    TbsCompressedStoredSkin skin;
    skin.SetCompressedData(readFileBytes(path));
    TMemoryStream container;
    skin.DecompressToStream(container);
    container.SetPosition(0);

    // The container field by field first, so that a bad one is named before anything else is said.
    const qint32 version = readContainerInteger(container);
    if (version > TbsCompressedStoredSkin::s_storedSkinVersion) {
        throw std::runtime_error("container version " + std::to_string(version) + " is newer than 3");
    }
    const TBitmap picture = readFlaggedBitmap(container);
    const TBitmap inactive = readFlaggedBitmap(container);
    const TBitmap mask = readFlaggedBitmap(container);
    if (version == 2) {
        readFlaggedBitmap(container);
        readFlaggedBitmap(container);
    }
    const qint32 count = readContainerInteger(container);
    std::vector<TBitmap> pictures;
    for (qint32 i = 0; i < count; ++i) {
        pictures.push_back(readContainerBitmap(container));
    }
    const QStringList description = readContainerText(container);

    // The entries as a store makes them (unknown type words are skipped).
    TbsSkinData store;
    store.LoadStoredSkin(skin);

    std::fprintf(out, "container: %lld bytes compressed, %lld bytes inflated\n",
        qlonglong(skin.CompressedData().size()), qlonglong(container.Size()));
    std::fprintf(out, "version: %d\n", version);
    printPicture(out, "picture", picture);
    printPicture(out, "inactive picture", inactive);
    printPicture(out, "mask", mask);
    std::fprintf(out, "numbered pictures: %d\n", count);
    for (size_t i = 0; i < pictures.size(); ++i) {
        printPicture(out, ("  " + std::to_string(i)).c_str(), pictures[i]);
    }
    std::fprintf(out, "objects: %zu\ncontrols: %zu\ndescription:\n", store.ObjectList.size(), store.ControlList.size());
    for (const QString &line : description) {
        std::fprintf(out, "%s\n", line.toUtf8().constData());
    }
    return 0;
}

} // namespace

int describeCommand(const QStringList &args, std::FILE *out)
{
    try {
        return describe(args[0], out);
    } catch (const std::exception &e) {
        throw std::runtime_error(args[0].toStdString() + ": " + e.what()); // say which file is bad
    }
}

} // namespace pixolo
