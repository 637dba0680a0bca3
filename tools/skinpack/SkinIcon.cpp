// pixolo-skinpack icon FILE SIZE OUT.png: the program icon a packed skin gives, for the desktop's menus.
#include "Commands.h"

#include "skin/SkinPreview.h"
#include "skin/TbsSkinData.h"

#include <QImage>

#include <stdexcept>

namespace pixolo
{

int iconCommand(const QStringList &args, std::FILE *out)
{
    const int size = sizeArgument(args[1]);
    TbsSkinData store;
    loadSkinFile(args[0], store);
    const QImage icon = programIcon(store, size);
    if (icon.isNull()) {
        throw std::runtime_error(args[0].toStdString() + " has no system-menu button picture to make an icon of");
    }
    if (!icon.save(args[2], "PNG")) {
        throw std::runtime_error("cannot write " + args[2].toStdString());
    }
    std::fprintf(out, "icon: %d x %d\n", icon.width(), icon.height());
    return 0;
}

} // namespace pixolo
