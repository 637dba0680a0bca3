#include "Commands.h"

#include "skin/TbsCompressedStoredSkin.h"
#include "skin/TbsSkinData.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace pixolo
{

namespace
{

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

} // namespace

PackedSkin readPackedSkin(const QByteArray &compressed)
{
    PackedSkin skin;
    TbsCompressedStoredSkin stored;
    stored.SetCompressedData(compressed);
    TMemoryStream container;
    stored.DecompressToStream(container); // refuses a container past the size a window loads
    container.SetPosition(0);
    skin.compressedSize = compressed.size();
    skin.inflatedSize = container.Size();

    // The container field by field first, so that a bad one is named before anything else is said.
    skin.version = readContainerInteger(container);
    if (skin.version > TbsCompressedStoredSkin::s_storedSkinVersion) {
        throw std::runtime_error("container version " + std::to_string(skin.version) + " is newer than 3");
    }
    skin.picture = readFlaggedBitmap(container);
    skin.inactive = readFlaggedBitmap(container);
    skin.mask = readFlaggedBitmap(container);
    if (skin.version == 2) {
        readFlaggedBitmap(container);
        readFlaggedBitmap(container);
    }
    const qint32 count = readContainerInteger(container);
    for (qint32 i = 0; i < count; ++i) {
        skin.pictures.push_back(readContainerBitmap(container));
    }
    skin.description = readContainerText(container);

    // The entries as a window's store makes them (unknown type words are skipped); a value it cannot read raises.
    TbsSkinData store;
    store.LoadStoredSkin(stored);
    skin.objects = store.ObjectList.size();
    skin.controls = store.ControlList.size();
    return skin;
}

void loadSkinFile(const QString &path, TbsSkinData &store)
{
    try {
        TbsCompressedStoredSkin stored;
        stored.SetCompressedData(readFileBytes(path));
        store.LoadStoredSkin(stored);
    } catch (const std::exception &e) {
        throw std::runtime_error(path.toStdString() + ": " + e.what());
    }
}

namespace
{

int describe(const QString &path, std::FILE *out)
{
    const PackedSkin skin = readPackedSkin(readFileBytes(path));
    std::fprintf(out, "container: %lld bytes compressed, %lld bytes inflated\n", qlonglong(skin.compressedSize),
        qlonglong(skin.inflatedSize));
    std::fprintf(out, "version: %d\n", skin.version);
    printPicture(out, "picture", skin.picture);
    printPicture(out, "inactive picture", skin.inactive);
    printPicture(out, "mask", skin.mask);
    std::fprintf(out, "numbered pictures: %zu\n", skin.pictures.size());
    for (size_t i = 0; i < skin.pictures.size(); ++i) {
        printPicture(out, ("  " + std::to_string(i)).c_str(), skin.pictures[i]);
    }
    std::fprintf(out, "objects: %zu\ncontrols: %zu\ndescription:\n", skin.objects, skin.controls);
    for (const QString &line : skin.description) {
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
