#pragma once

// What the fuzz targets share: loading a container into a store the way a window does, and touching what the
// skinned parts of a window then read.
#include "skin/TCustomZlibStream.h"
#include "skin/TbsSkinData.h"

#include <exception>

namespace pixolo::fuzz
{

// Deflates without compression: cheap, and every input byte reaches the container reader as it is.
inline QByteArray stored(QByteArrayView container)
{
    TMemoryStream dest;
    {
        TCompressionStream stream(clNone, dest);
        stream.WriteBuffer(container.data(), container.size());
        stream.Finish();
    }
    return dest.Data();
}

inline void loadAndUse(const QByteArray &compressedData)
{
    TbsCompressedStoredSkin skin;
    skin.SetCompressedData(compressedData);
    TbsSkinData store;
    try {
        store.LoadStoredSkin(skin);
    } catch (const std::exception &) {
        return; // a clear error is the right outcome for bad input
    }
    // Every index a skin names goes through the store's bounds-checked lookup.
    for (const auto &control : store.ControlList) {
        if (const TBitmap *picture = store.ActivePicture(control->pictureindex)) {
            (void)picture->image().pixel(0, 0);
        }
        (void)store.FindControlIndex(control->IDName);
    }
    for (const auto &object : store.ObjectList) {
        (void)store.ActivePicture(object->activepictureindex);
        (void)store.FindObjectIndex(object->IDName);
    }
    (void)store.ActivePicture(store.PopupWindow.windowpictureindex);
    (void)store.ActivePicture(store.HintWindow.maskpictureindex);
}

} // namespace pixolo::fuzz
