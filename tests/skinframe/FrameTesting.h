#pragma once

// Helpers of the frame tests: Pixolo's own skin in a store, and the shared pointer input.
#include "skin/SkinGeometry.h"
#include "skin/TbsCompressedStoredSkin.h"
#include "skin/TbsSkinData.h"
#include "storedskin/StoredSkin.h"

#include "PointerInput.h"

#include <QWidget>

#include <ostream>

namespace pixolo
{

inline void PrintTo(const TRect &r, std::ostream *os)
{
    *os << '(' << r.Left << ',' << r.Top << ',' << r.Right << ',' << r.Bottom << ')';
}

inline void PrintTo(const TPoint &p, std::ostream *os)
{
    *os << '(' << p.X << ',' << p.Y << ')';
}

} // namespace pixolo

namespace pixolo::test
{

// A store holding Pixolo's skin, and the stored skin it was loaded from (both owned by `parent`).
inline TbsSkinData *pixoloStore(QObject *parent, bool effects = false)
{
    auto *stored = new TbsCompressedStoredSkin(parent);
    stored->SetCompressedData(QByteArray(pixoloStoredSkin().data(), pixoloStoredSkin().size()));
    auto *store = new TbsSkinData(parent);
    store->SetEnableSkinEffects(effects);
    store->SetCompressedStoredSkin(stored);
    return store;
}

inline QPoint centre(const TRect &r)
{
    return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

} // namespace pixolo::test
