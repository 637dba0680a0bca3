#include "skinframe/TbsSkinCaptionObject.h"

#include "skin/SkinPaint.h"
#include "skin/SkinText.h"
#include "skin/TbsDataSkinObject.h"
#include "skin/TbsEffectBmp.h"
#include "skin/TbsSkinData.h"
#include "skinframe/TbsSkinForm.h"

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace pixolo
{

TbsSkinCaptionObject::TbsSkinCaptionObject(TbsSkinForm &form, const TbsDataSkinObject *data)
    : TbsActiveSkinObject(form, data)
{
    const auto *caption = dynamic_cast<const TbsDataSkinCaption *>(data);
    if (!caption) {
        return;
    }
    fontname = caption->fontname;
    fontheight = caption->fontheight;
    fontstyle = caption->fontstyle;
    fontcolor = caption->fontcolor;
    activefontcolor = caption->activefontcolor;
    alignment = caption->alignment;
    shadow = caption->shadow;
    shadowcolor = caption->shadowcolor;
    activeshadowcolor = caption->activeshadowcolor;
    light = caption->light;
    lightcolor = caption->lightcolor;
    activelightcolor = caption->activelightcolor;
    textrect = caption->textrect;
    frametextrect = caption->frametextrect;
    frameleftoffset = caption->frameleftoffset;
    framerightoffset = caption->framerightoffset;
    fullframe = caption->fullframe;
    stretcheffect = caption->stretcheffect;
    framecount = caption->framecount;
    animateinterval = caption->animateinterval;
    inactiveanimation = caption->inactiveanimation;
    if (hasObjectPicture()) {
        framerect = caption->framerect;
        activeframerect = caption->activeframerect;
        animateskinrect = caption->animateskinrect;
    }
}

bool TbsSkinCaptionObject::AnimationInEffect() const
{
    return m_store && !m_store->Empty() && m_store->EnableSkinEffects() && !IsNullRect(animateskinrect);
}

TRect TbsSkinCaptionObject::AnimationFrameRect(int N) const
{
    if (framecount < 1 || N < 1 || N > framecount) {
        return NullRect();
    }
    const TRect &a = animateskinrect;
    if (RectHeight(a) > RectHeight(skinrect)) {
        const int h = RectHeight(a) / framecount;
        return { a.Left, a.Top + (N - 1) * h, a.Right, a.Top + N * h };
    }
    const int w = RectWidth(a) / framecount;
    return { a.Left + (N - 1) * w, a.Top, a.Left + N * w, a.Bottom };
}

TRect TbsSkinCaptionObject::TextRect() const
{
    TRect r = textrect;
    if (!IsNullRect(textrect)) {
        r.Right = RectWidth(ObjectRect) - (RectWidth(skinrect) - textrect.Right);
    }
    if (!IsNullRect(framerect)) {
        r.Left += frametextrect.Left;
        r.Top += frametextrect.Top;
        r.Right -= RectWidth(framerect) - frametextrect.Right;
    }
    return r;
}

QImage TbsSkinCaptionObject::background(const QImage &Picture, const TRect &Source) const
{
    QImage image(toQRect(ObjectRect).size(), QImage::Format_RGB32);
    if (image.isNull()) {
        return image;
    }
    image.fill(Qt::black);
    if (Picture.isNull() || IsNullRect(Source)) {
        return image;
    }
    const int L = m_store ? std::max(0, m_store->lefttoppoint.X - Source.Left) : 0;
    const int R = m_store ? std::max(0, Source.Right - m_store->righttoppoint.X) : 0;
    if (L == 0 && R == 0) {
        stretch(image, image.rect(), Picture, toQRect(Source));
    } else {
        const QImage ends = CreateHSkinImage(L, R, Picture, Source, image.width(), stretcheffect);
        stretch(image, image.rect(), ends, ends.rect());
    }
    return image;
}

void TbsSkinCaptionObject::drawText(QPainter &Canvas, int DX, int DY, bool Active)
{
    QString text = m_form.CaptionText();
    const TRect tr = TextRect();
    if (text.isEmpty() || IsNullRect(tr)) {
        return;
    }
    Canvas.save();
    FrameFont font { fontname, fontheight, fontstyle, QColor() };
    Canvas.setFont(font.toQFont());
    Canvas.setBrush(Qt::NoBrush);
    const QFontMetrics metrics = Canvas.fontMetrics();
    CorrectTextToWidth(metrics, text, RectWidth(tr));
    const int W = SkinTextWidth(metrics, text);
    const int H = SkinTextHeight(metrics, text);
    int Y = tr.Top + RectHeight(tr) / 2 - H / 2;
    int X = tr.Left + RectWidth(tr) / 2 - W / 2;
    if (alignment == taLeftJustify) {
        X = tr.Left;
    } else if (alignment == taRightJustify) {
        X = tr.Right - W;
    }
    X += DX;
    Y += DY;

    if (!IsNullRect(framerect)) {
        const TRect &plate = (Active && !IsNullRect(activeframerect)) ? activeframerect : framerect;
        const int buttonsOffset = m_store ? m_store->buttonsoffset : 0;
        if (fullframe) {
            const int width = RectWidth(ObjectRect) - 2 * buttonsOffset;
            if (width > 0) {
                const QImage image
                    = CreateHSkinImage(frameleftoffset, framerightoffset, m_picture, plate, width, false);
                Canvas.drawImage(DX + buttonsOffset, Y - frametextrect.Top, image);
            }
        } else {
            const int width = RectWidth(plate) + W - RectWidth(frametextrect);
            if (width > 0) {
                const QImage image
                    = CreateHSkinImage(frameleftoffset, framerightoffset, m_picture, plate, width, false);
                Canvas.drawImage(X - frametextrect.Left, Y - frametextrect.Top, image);
            }
        }
    }

    const int flags = Qt::AlignLeft | Qt::TextShowMnemonic
        | (m_form.Form()->layoutDirection() == Qt::RightToLeft ? Qt::TextForceRightToLeft : 0);
    const auto textAt = [&](int x, int y, int color) {
        Canvas.setPen(skinColor(color));
        QRect r(x, y, 0, 0);
        DrawSkinText(Canvas, text, r, flags | Qt::AlignTop | SkinCalcRect);
        DrawSkinText(Canvas, text, r, flags | Qt::AlignVCenter);
    };
    if (light) {
        textAt(X - 1, Y - 1, Active ? activelightcolor : lightcolor);
    }
    if (shadow) {
        textAt(X + 1, Y + 1, Active ? activeshadowcolor : shadowcolor);
    }
    textAt(X, Y, Active ? activefontcolor : fontcolor);
    Canvas.restore();
}

void TbsSkinCaptionObject::Draw(QPainter &Canvas, bool)
{
    const bool animation = AnimationInEffect();
    const bool morph = MorphingInEffect();
    const bool unfinished = ActiveState ? MorphFactor != 1 : MorphFactor != 0;
    const bool inactiveLook = m_store && m_store->autorenderinginactiveimage;
    const auto place = [&](QImage &image) { Canvas.drawImage(ObjectRect.Left, ObjectRect.Top, image); };
    const auto withEffect = [&](QImage &image) {
        if (inactiveLook && m_store) {
            TbsEffectBmp effect(image);
            effect.applyInactiveEffect(m_store->inactiveeffect);
            image = effect.Image();
        }
    };

    if (animation && AnimationFrame >= 1 && AnimationFrame <= framecount) {
        QImage image = background(m_picture, AnimationFrameRect(AnimationFrame));
        QPainter p(&image);
        drawText(p, 0, 0, !ActiveState); // the colours of the state being left
        p.end();
        place(image);
        return;
    }
    if (morph && unfinished) {
        QImage normal = background(normalPicture(), skinrect);
        QImage active = background(m_picture, activeskinrect);
        {
            QPainter p(&normal);
            drawText(p, 0, 0, false);
            QPainter q(&active);
            drawText(q, 0, 0, true);
        }
        TbsEffectBmp blended(normal);
        blended.morph(morphkind, TbsEffectBmp(active), MorphFactor);
        QImage image = blended.Image();
        if (!ActiveState) {
            withEffect(image);
        }
        place(image);
        return;
    }
    if (IsNullRect(activeskinrect) || (!ActiveState && !morph && !animation && !stretcheffect)) {
        drawText(Canvas, ObjectRect.Left, ObjectRect.Top, ActiveState);
        return;
    }
    if (!ActiveState) {
        QImage image = background(normalPicture(), skinrect);
        QPainter p(&image);
        drawText(p, 0, 0, false);
        p.end();
        withEffect(image);
        place(image);
        return;
    }
    QImage image = background(m_picture, activeskinrect);
    QPainter p(&image);
    drawText(p, 0, 0, true);
    p.end();
    place(image);
}

bool TbsSkinCaptionObject::AnimationStep()
{
    if (!AnimationInEffect()) {
        return false;
    }
    if (AnimationTime < animateinterval) {
        AnimationTime += 25;
        return true;
    }
    if (ActiveState && AnimationFrame <= framecount) {
        ++AnimationFrame;
        m_form.painter().RepaintObject(this);
        AnimationTime = 25;
        return true;
    }
    if (!ActiveState && AnimationFrame > 0) {
        --AnimationFrame;
        m_form.painter().RepaintObject(this);
        AnimationTime = 25;
        return true;
    }
    return false;
}

void TbsSkinCaptionObject::MouseDown(int X, int Y, Qt::MouseButton Button)
{
    if (m_form.OnMouseDownEvent) {
        m_form.OnMouseDownEvent(IDName, X, Y, ObjectRect, Button);
    }
}

void TbsSkinCaptionObject::MouseUp(int X, int Y, Qt::MouseButton Button)
{
    if (m_form.OnMouseUpEvent) {
        m_form.OnMouseUpEvent(IDName, X, Y, ObjectRect, Button);
    }
}

void TbsSkinCaptionObject::MouseEnter()
{
    MouseOver = true;
    if (m_form.OnMouseEnterEvent) {
        m_form.OnMouseEnterEvent(IDName);
    }
}

void TbsSkinCaptionObject::MouseLeave()
{
    MouseOver = false;
    if (m_form.OnMouseLeaveEvent) {
        m_form.OnMouseLeaveEvent(IDName);
    }
}

} // namespace pixolo
