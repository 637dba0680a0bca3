#include "Commands.h"

#include "skin/TbsCompressedStoredSkin.h"

#include <stdexcept>

namespace pixolo
{

int packCommand(const QStringList &args, std::FILE *)
{
    TbsCompressedStoredSkin skin;
    skin.ImportSkinFolder(args[0]);
    if (skin.IsEmpty()) {
        throw std::runtime_error(args[0].toStdString()
            + " is not a skin description: it needs [VERSION], [PICTURES], [FORMINFO], "
              "[SKINOBJECTS] and [SKINCONTROLS]");
    }
    // What the program or describe would refuse is refused here, before a file is written.
    try {
        readPackedSkin(skin.CompressedData());
    } catch (const std::exception &e) {
        throw std::runtime_error(args[0].toStdString() + ": the packed skin would not load: " + e.what());
    }
    writeFileBytes(args[1], skin.CompressedData());
    return 0;
}

} // namespace pixolo
