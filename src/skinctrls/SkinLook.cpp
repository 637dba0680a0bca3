#include "skinctrls/SkinLook.h"

#include "skin/SkinGlyphs.h"
#include "skin/TbsEffectBmp.h"

#include <QPainter>

namespace pixolo
{

void drawSkinPiece(QPainter &painter, QPoint at, const QImage &picture, const TRect &piece)
{
    const QRect source = toQRect(piece);
    if (picture.isNull() || source.isEmpty() || !picture.rect().contains(source)) {
        return;
    }
    DrawGlyphFrame(painter, at.x(), at.y(), 1, 1, picture.copy(source));
}

QImage lightened(const QImage &image)
{
    TbsEffectBmp effect(image);
    effect.Brightness(0.5);
    return effect.Image();
}

QImage morphed(const QImage &from, const QImage &to, TMorphKind kind, double k)
{
    TbsEffectBmp shown(from);
    shown.morph(kind, TbsEffectBmp(to), k);
    return shown.Image();
}

TRect animationCell(const TRect &strip, const TRect &skinRect, int count, int cell)
{
    if (count < 1 || cell < 1 || cell > count || IsNullRect(strip)) {
        return {};
    }
    if (RectWidth(strip) > RectWidth(skinRect)) {
        const int w = RectWidth(strip) / count;
        const int left = strip.Left + (cell - 1) * w;
        return { left, strip.Top, left + w, strip.Bottom };
    }
    const int h = RectHeight(strip) / count;
    const int top = strip.Top + (cell - 1) * h;
    return { strip.Left, top, strip.Right, top + h };
}

} // namespace pixolo
