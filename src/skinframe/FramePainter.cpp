#include "skinframe/FramePainter.h"

#include "skin/SkinGlyphs.h"
#include "skin/SkinPaint.h"
#include "skin/SkinText.h"
#include "skin/TbsEffectBmp.h"
#include "skin/TbsSkinData.h"
#include "skinframe/TbsSkinForm.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace pixolo
{

namespace
{

QImage withTransparentKey(const QImage &image)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = result.pixel(0, result.height() - 1);
    for (int y = 0; y < result.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            if (row[x] == key) {
                row[x] = 0;
            }
        }
    }
    return result;
}

} // namespace

const SkinBorderImages &FramePainter::frameStrips(const QImage &source, bool inactive)
{
    const FrameLayout &layout = m_form.layout();
    const TbsFrameGeometry &geometry = layout.geometry();
    const QSize size(layout.frameWidth(), layout.frameHeight());
    const qint64 key = source.cacheKey() * 2 + (inactive ? 1 : 0);
    auto &cache = m_form.m_stripCache;
    if (cache.size != size || cache.picture != key) {
        const TbsSkinData &store = *m_form.m_skinData;
        const SkinCorners old { store.lefttoppoint, store.righttoppoint, store.leftbottompoint, store.rightbottompoint,
            store.clientrect };
        const SkinCorners now { geometry.NewLTPoint, geometry.NewRTPoint, geometry.NewLBPoint, geometry.NewRBPoint,
            geometry.NewClRect };
        cache.strips = CreateStretchSkinBorderImages(old, now, source, { 0, 0, source.width(), source.height() },
            size.width(), size.height(), store.leftstretch, store.topstretch, store.rightstretch, store.bottomstretch);
        cache.size = size;
        cache.picture = key;
    }
    return cache.strips;
}

void FramePainter::PaintSkinFrame(QPainter &Canvas)
{
    if (!m_form.m_skinInUse) {
        return;
    }
    FrameLayout &layout = m_form.layout();
    const int W = layout.frameWidth();
    const int H = layout.frameHeight();
    if (W < layout.GetMinWidth() || H < layout.GetMinHeight()) {
        return;
    }
    const TbsSkinData &store = *m_form.m_skinData;
    layout.relayoutSkin();
    const TbsFrameGeometry &geometry = layout.geometry();

    const bool active = m_form.IsFormActive();
    const bool inactivePicture = !active && !store.InActivePicture.Empty();
    if (inactivePicture && m_form.m_inactivePicture.isNull()) {
        m_form.m_inactivePicture = store.InActivePicture.toRgb32();
    }
    const SkinBorderImages &strips
        = frameStrips(inactivePicture ? m_form.m_inactivePicture : m_form.m_formPicture, inactivePicture);
    QImage top = strips.TopImage;
    QImage bottom = strips.BottomImage;
    QImage left = strips.LeftImage;
    QImage right = strips.RightImage;

    // Objects go into the strip they lie in; those reaching below the client's top into the bottom strip.
    const int clientTop = geometry.NewClRect.Top;
    const int clientBottom = geometry.NewClRect.Bottom;
    for (const auto &object : m_form.m_objects) {
        if (!object->ObjectVisible) {
            continue;
        }
        const bool lower = object->ObjectRect.Bottom > clientTop;
        QImage &piece = lower ? bottom : top;
        if (piece.isNull()) {
            continue;
        }
        QPainter painter(&piece);
        if (lower) {
            painter.translate(0, -clientBottom);
        }
        object->Draw(painter, false);
    }

    if (!active && store.autorenderinginactiveimage) {
        for (QImage *piece : { &top, &left, &right, &bottom }) {
            if (!piece->isNull()) {
                TbsEffectBmp effect(*piece);
                effect.applyInactiveEffect(store.inactiveeffect);
                *piece = effect.Image();
            }
        }
    }
    const int topHeight = top.height();
    Canvas.drawImage(0, 0, top);
    Canvas.drawImage(0, topHeight, left);
    Canvas.drawImage(W - right.width(), topHeight, right);
    Canvas.drawImage(0, H - bottom.height(), bottom);
}

void FramePainter::PaintDefaultFrame(QPainter &Canvas)
{
    if (m_form.m_objects.empty() && !m_form.m_skinInUse) {
        m_form.createStandardButtons();
        m_form.ApplyBorderIcons();
    }
    FrameLayout &layout = m_form.layout();
    layout.layoutDefaultFrame();
    const DefaultFrameMetrics metrics = layout.defaultMetrics();
    const int W = layout.frameWidth();
    const int H = layout.frameHeight();
    const int captionHeight = metrics.CaptionHeight;
    if (W - 6 <= 0 || captionHeight <= 0) {
        return;
    }

    QImage caption(W - 6, captionHeight, QImage::Format_RGB32);
    caption.fill(FrameColors::btnFace());
    QPainter p(&caption);
    const TRect &c = layout.defaultCaption();
    if (captionHeight - 4 > 1) {
        for (int i = 0; i < captionHeight - 5; ++i) {
            const QColor color = i % 2 == 0 ? FrameColors::btnHighlight() : FrameColors::btnShadow();
            drawLineExclusive(p, QPoint(c.Left - 1, 2 + i), QPoint(c.Right - 6, 2 + i), color);
        }
    }
    QString text = m_form.CaptionText();
    if (!text.isEmpty()) {
        const FrameFont &font = m_form.IsFormActive() ? m_form.m_defCaptionFont : m_form.m_defInActiveCaptionFont;
        p.setFont(font.toQFont());
        const QFontMetrics fm = p.fontMetrics();
        const TRect area = offsetRect(c, -3, -3);
        CorrectTextToWidth(fm, text, RectWidth(area));
        const int textWidth = SkinTextWidth(fm, text);
        const int textHeight = SkinTextHeight(fm, text);
        const int left = area.Left + RectWidth(area) / 2 - (textWidth + 5) / 2;
        const int top = captionHeight / 2 - textHeight / 2;
        const QRect textRect(left, top, textWidth, textHeight);
        p.fillRect(textRect.adjusted(-2, -2, 2, 2), FrameColors::btnFace());
        p.setPen(font.Color);
        QRect drawn = textRect;
        const int rtl = m_form.m_form->layoutDirection() == Qt::RightToLeft ? Qt::TextForceRightToLeft : 0;
        DrawSkinText(p, text, drawn, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic | rtl);
    }
    layout.layoutDefaultFrame();
    p.translate(-3, -3);
    for (const auto &object : m_form.m_objects) {
        if (object->ObjectVisible) {
            object->Draw(p, true);
        }
    }
    p.end();

    Canvas.drawImage(3, 3, caption);
    DrawFrame3D(Canvas, { 0, 0, W, H }, FrameColors::light3D(), FrameColors::darkShadow3D());
    DrawFrame3D(Canvas, { 1, 1, W - 1, H - 1 }, FrameColors::btnHighlight(), FrameColors::btnShadow());
    DrawFrame3D(Canvas, { 2, 2, W - 2, H - 2 }, FrameColors::btnFace(), FrameColors::btnFace());
}

void FramePainter::paintFrame(QPainter &Canvas)
{
    if (m_form.m_skinInUse) {
        PaintSkinFrame(Canvas);
    } else {
        PaintDefaultFrame(Canvas);
    }
}

void FramePainter::PaintClientBackground(QPainter &Canvas)
{
    const QRect area(QPoint(0, 0), m_form.m_client->size());
    const TbsSkinData *store = m_form.m_skinData.data();
    const QImage &logo = m_form.m_logo;
    bool withLogo = true;
    if (!m_form.m_skinInUse) {
        Canvas.fillRect(area, FrameColors::btnFace());
    } else if (const TBitmap *background = store->ActivePicture(store->bgpictureindex);
               background && store->bgpictureindex >= 0) {
        if (m_form.m_background.isNull()) {
            m_form.m_background = background->toRgb32();
        }
        tile(Canvas, area, m_form.m_background, m_form.m_background.rect());
    } else if (IsNullRect(store->clientrect)) {
        Canvas.fillRect(area, FrameColors::btnFace());
        withLogo = false;
    } else if (!area.isEmpty()) {
        tile(Canvas, area, m_form.m_formPicture, toQRect(store->clientrect));
    }
    if (withLogo && !logo.isNull()) {
        const int x = std::max(0, area.width() / 2 - logo.width() / 2);
        const int y = std::max(0, area.height() / 2 - logo.height() / 2);
        Canvas.drawImage(x, y, m_form.m_logoTransparent ? withTransparentKey(logo) : logo);
    }
}

QImage FramePainter::frameImage()
{
    const FrameLayout &layout = m_form.layout();
    QImage image(qMax(1, layout.frameWidth()), qMax(1, layout.frameHeight()), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    paintFrame(painter);
    return image;
}

void FramePainter::paintWindow(QPainter &painter, const QRegion &region)
{
    QRegion frame = region;
    if (m_form.m_client->isVisible()) {
        frame -= m_form.m_client->geometry();
    }
    if (frame.isEmpty()) {
        return;
    }
    painter.setClipRegion(frame);
    paintFrame(painter);
}

void FramePainter::RepaintObject(TbsActiveSkinObject *Object)
{
    if (!Object || m_form.m_borderStyle == bsNone || !m_form.m_form->isVisible()) {
        return;
    }
    // Drawn at once, as the frame would draw it: the frame paints every object over its strips.
    m_form.m_form->repaint(toQRect(Object->ObjectRect));
}

int FramePainter::smallIconSize() const
{
    const QWidget *form = m_form.m_form;
    return form->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, form);
}

QImage FramePainter::SmallIcon()
{
    if (m_smallIcon.isNull()) {
        const QWidget *form = m_form.m_form;
        QIcon icon = form->windowIcon();
        if (icon.isNull()) {
            icon = form->style()->standardIcon(QStyle::SP_TitleBarMenuButton, nullptr, form);
        }
        const int size = smallIconSize();
        m_smallIcon = icon.pixmap(size, size).toImage();
    }
    return m_smallIcon;
}

} // namespace pixolo
