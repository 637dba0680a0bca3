#include "skin/SkinPreview.h"

#include "skin/SkinPaint.h"
#include "skin/SkinRegion.h"
#include "skin/TbsSkinData.h"

#include <algorithm>

namespace pixolo
{

namespace
{

// How a control's image follows its size, from the entry's points.
enum ResizeMode : int { rmNone = -1, rmFixed = 0, rmBoth = 1, rmWidth = 2, rmHeight = 3 };

struct ControlSkin {
    const TBitmap *picture = nullptr;
    const TBitmap *mask = nullptr;
    TRect skin;
    SkinCorners corners;
    bool stretch = false;
    ResizeMode mode = rmNone;
};

ControlSkin controlSkin(const TbsSkinData &store, const TbsDataSkinControl &entry)
{
    ControlSkin c;
    c.picture = store.ActivePicture(entry.pictureindex);
    c.mask = store.ActivePicture(entry.maskpictureindex);
    c.skin = entry.skinrect;
    const auto *custom = dynamic_cast<const TbsDataSkinCustomControl *>(&entry);
    if (IsNullRect(c.skin)) {
        c.mode = rmNone;
    } else if (!custom) {
        c.mode = rmFixed;
    } else {
        c.corners = { custom->lefttoppoint, custom->righttoppoint, custom->leftbottompoint, custom->rightbottompoint,
            custom->clientrect };
        c.stretch = custom->stretcheffect;
        const TPoint &rb = custom->rightbottompoint;
        const TPoint &rt = custom->righttoppoint;
        const TPoint &lb = custom->leftbottompoint;
        c.mode = rb.X != 0 && rb.Y != 0 ? rmBoth
            : rt.X != 0 || rt.Y != 0    ? rmWidth
            : lb.X != 0 || lb.Y != 0    ? rmHeight
                                        : rmFixed;
    }
    return c;
}

QSize sizeFor(const ControlSkin &c, QSize size)
{
    switch (c.mode) {
    case rmNone:
        return {};
    case rmFixed:
        return QSize(RectWidth(c.skin), RectHeight(c.skin));
    case rmWidth:
        return QSize(size.width(), RectHeight(c.skin));
    case rmHeight:
        return QSize(RectWidth(c.skin), size.height());
    case rmBoth:
        break;
    }
    return size;
}

} // namespace

QSize formSize(const TbsSkinData &store, QSize size)
{
    const int minWidth = store.formminwidth > 0 ? store.formminwidth : store.Picture.Width();
    const int minHeight = store.Picture.Height() - RectHeight(store.clientrect);
    return QSize(std::max(size.width(), minWidth), std::max(size.height(), minHeight));
}

QImage formFrameImage(const TbsSkinData &store, QSize size)
{
    if (store.Empty() || store.Picture.Empty()) {
        return {};
    }
    size = formSize(store, size);
    const QImage picture = store.Picture.toRgb32();
    const SkinCorners old { store.lefttoppoint, store.righttoppoint, store.leftbottompoint, store.rightbottompoint,
        store.clientrect };
    const SkinCorners now = old.grownBy(size.width() - picture.width(), size.height() - picture.height());
    QImage frame(size, QImage::Format_RGB32);
    frame.fill(Qt::black);

    // Client background first; the strips lie around it.
    const QRect client = toQRect(now.ClRect);
    if (const TBitmap *background = store.ActivePicture(store.bgpictureindex);
        background && store.bgpictureindex >= 0) {
        const QImage tileImage = background->toRgb32();
        tile(frame, client, tileImage, tileImage.rect());
    } else if (!IsNullRect(store.clientrect)) {
        tile(frame, client, picture, toQRect(store.clientrect));
    } else {
        frame.fill(QColor(0xF0, 0xF0, 0xF0)); // no skin client: the plain button face
    }

    const SkinBorderImages strips
        = CreateStretchSkinBorderImages(old, now, picture, { 0, 0, picture.width(), picture.height() }, size.width(),
            size.height(), store.leftstretch, store.topstretch, store.rightstretch, store.bottomstretch);
    const int topHeight = strips.TopImage.height();
    const auto place = [&frame](const QImage &strip, int x, int y) {
        stretch(frame, QRect(QPoint(x, y), strip.size()), strip, strip.rect());
    };
    place(strips.TopImage, 0, 0);
    place(strips.LeftImage, 0, topHeight);
    place(strips.RightImage, size.width() - strips.RightImage.width(), topHeight);
    place(strips.BottomImage, 0, size.height() - strips.BottomImage.height());
    return frame;
}

std::optional<QRegion> formRegion(const TbsSkinData &store, QSize size)
{
    if (store.Empty() || store.MaskPicture.Empty()) {
        return std::nullopt;
    }
    size = formSize(store, size);
    const SkinCorners old { store.lefttoppoint, store.righttoppoint, store.leftbottompoint, store.rightbottompoint,
        store.maskrectarea };
    const SkinCorners now = old.grownBy(size.width() - store.Picture.Width(), size.height() - store.Picture.Height());
    return CreateSkinRegion(old, now, store.MaskPicture.toRgb32(), size.width(), size.height());
}

QSize controlSize(const TbsSkinData &store, const TbsDataSkinControl &entry, QSize size)
{
    const ControlSkin c = controlSkin(store, entry);
    return c.picture ? sizeFor(c, size) : QSize();
}

QImage controlImage(const TbsSkinData &store, const TbsDataSkinControl &entry, QSize size)
{
    const ControlSkin c = controlSkin(store, entry);
    size = sizeFor(c, size);
    if (!c.picture || size.isEmpty()) {
        return {};
    }
    const QImage picture = c.picture->toRgb32();
    const int dw = size.width() - RectWidth(c.skin);
    const int dh = size.height() - RectHeight(c.skin);
    const SkinCorners &k = c.corners;
    switch (c.mode) {
    case rmFixed:
        return picture.copy(toQRect(c.skin));
    case rmBoth:
        return CreateSkinImage(k, k.grownBy(dw, dh), picture, c.skin, size.width(), size.height(), true);
    case rmWidth:
        return CreateHSkinImage(k.LT.X, RectWidth(c.skin) - k.RT.X, picture, c.skin, size.width(), c.stretch);
    case rmHeight:
        return CreateVSkinImage(k.LT.Y, RectHeight(c.skin) - k.LB.Y, picture, c.skin, size.height(), c.stretch);
    case rmNone:
        break;
    }
    return {};
}

std::optional<QRegion> controlRegion(const TbsSkinData &store, const TbsDataSkinControl &entry, QSize size)
{
    const ControlSkin c = controlSkin(store, entry);
    size = sizeFor(c, size);
    if (!c.picture || !c.mask || size.isEmpty()) {
        return std::nullopt;
    }
    const QImage mask = c.mask->toRgb32();
    const TRect whole { 0, 0, mask.width(), mask.height() };
    const SkinCorners &k = c.corners;
    switch (c.mode) {
    case rmFixed:
        return CreateRgnFromMask(mask);
    case rmBoth:
        return CreateSkinRegion(k, k.grownBy(size.width() - mask.width(), size.height() - mask.height()), mask,
            size.width(), size.height());
    case rmWidth: // the mask cut like the picture: ends copied, middle tiled
        return CreateRgnFromMask(CreateHSkinImage(k.LT.X, mask.width() - k.RT.X, mask, whole, size.width(), false));
    case rmHeight:
        return CreateRgnFromMask(CreateVSkinImage(k.LT.Y, mask.height() - k.LB.Y, mask, whole, size.height(), false));
    case rmNone:
        break;
    }
    return std::nullopt;
}

QImage programIcon(const TbsSkinData &store, int size)
{
    if (store.Empty() || size < 1) {
        return {};
    }
    for (const auto &object : store.ObjectList) {
        const auto *button = dynamic_cast<const TbsDataSkinStdButton *>(object.get());
        if (!button || button->command != cmSysMenu || IsNullRect(button->skinrect)) {
            continue;
        }
        const TBitmap *picture
            = button->skinrectinapicture ? store.ActivePicture(button->activepictureindex) : &store.Picture;
        if (!picture || picture->Empty()) {
            return {};
        }
        const QRect cell = toQRect(button->skinrect);
        if (!picture->image().rect().contains(cell)) {
            return {};
        }
        QImage glyph = picture->toRgb32().copy(cell).convertToFormat(QImage::Format_ARGB32);
        // Three pixels at each corner make the rounding, as the skin's own rounded boxes have it.
        const int right = glyph.width() - 1;
        const int bottom = glyph.height() - 1;
        for (const QPoint corner : { QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom) }) {
            const int dx = corner.x() == 0 ? 1 : -1;
            const int dy = corner.y() == 0 ? 1 : -1;
            for (const QPoint p : { corner, corner + QPoint(dx, 0), corner + QPoint(0, dy) }) {
                if (glyph.rect().contains(p)) {
                    glyph.setPixel(p, qRgba(0, 0, 0, 0));
                }
            }
        }
        QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
        icon.fill(Qt::transparent);
        stretch(icon, icon.rect(), glyph, glyph.rect());
        return icon;
    }
    return {};
}

} // namespace pixolo
