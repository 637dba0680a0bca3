#include "platform/FontSet.h"

#include <QFont>

namespace pixolo
{

QStringList fontFamiliesFor(const QString &name)
{
    for (const FontStandIn &standIn : kFontStandIns) {
        if (name.compare(QLatin1String(standIn.name), Qt::CaseInsensitive) == 0) {
            return { QString::fromLatin1(standIn.family), QString::fromLatin1(kCjkFamily) };
        }
    }
    return {};
}

void installFontSet()
{
    for (const FontStandIn &standIn : kFontStandIns) {
        const QString name = QString::fromLatin1(standIn.name);
        // Replaces rather than adds to what an earlier call or the platform put there: the order is the choice.
        QFont::removeSubstitutions(name);
        QFont::insertSubstitutions(name, fontFamiliesFor(name));
    }
}

} // namespace pixolo
