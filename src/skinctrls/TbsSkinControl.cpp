#include "skinctrls/TbsSkinControl.h"

#include "skin/SkinRegion.h"
#include "skin/SystemColors.h"
#include "skin/TbsDataSkinControl.h"

#include <QPaintEvent>
#include <QPainter>

namespace pixolo
{

TbsSkinControl::TbsSkinControl(QWidget *parent)
    : ControlBase<QWidget>(parent)
    , SkinBoundControl(QString())
{
    // Every pixel comes from the paint: nothing is erased first.
    setAttribute(Qt::WA_OpaquePaintEvent, true);
}

void TbsSkinControl::skinAboutToChange()
{
    if (!m_windowless) {
        ReleaseSkin();
    }
}

void TbsSkinControl::ApplySkin()
{
    LoadSkinEntry();
    update();
}

void TbsSkinControl::CalcSkinSize(int &, int &)
{
}

void TbsSkinControl::SetBounds(int left, int top, int width, int height)
{
    ensureSkinEntry();
    const bool skinResize = (width != this->width() || height != this->height()) && SkinIndex() != -1;
    if (skinResize) {
        CalcSkinSize(width, height);
    }
    ControlCore::SetBounds(left, top, width, height);
    if (skinResize) {
        UpdateRegion();
        update();
    }
}

QRect TbsSkinControl::AlignRect() const
{
    QRect area = rect();
    AdjustClientRect(area);
    return area;
}

void TbsSkinControl::AdjustClientRect(QRect &) const
{
}

void TbsSkinControl::Realign(QWidget *first)
{
    ensureSkinEntry(); // the docking area follows the entry's client rectangle
    AlignControls(this, AlignRect(), first);
}

void TbsSkinControl::resizeEvent(QResizeEvent *event)
{
    ControlBase<QWidget>::resizeEvent(event);
    Realign();
}

void TbsSkinControl::DrawDefaultImage(QImage &)
{
}

void TbsSkinControl::DrawSkinImage(QImage &)
{
}

void TbsSkinControl::PaintBitmap(QImage &bitmap)
{
    if (SkinIndex() == -1) {
        DrawDefaultImage(bitmap);
    } else {
        DrawSkinImage(bitmap);
    }
}

QImage TbsSkinControl::paintImage()
{
    if (width() <= 0 || height() <= 0) {
        return QImage();
    }
    ensureSkinEntry();
    // An opaque control covers every pixel: its image needs no alpha, and copies to the screen without blending.
    const bool opaque = testAttribute(Qt::WA_OpaquePaintEvent);
    QImage bitmap(size(), opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    bitmap.fill(opaque ? QColor(Qt::black) : QColor(Qt::transparent));
    PaintBitmap(bitmap);
    return bitmap;
}

void TbsSkinControl::paintEvent(QPaintEvent *)
{
    const QImage bitmap = paintImage();
    if (bitmap.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawImage(0, 0, bitmap); // the one copy of the composed control to the screen
}

TbsSkinCustomControl::TbsSkinCustomControl(QWidget *parent)
    : TbsSkinControl(parent)
{
}

void TbsSkinCustomControl::SetDefaultFont(const ControlFont &value)
{
    if (m_defaultFont == value) {
        return;
    }
    m_defaultFont = value;
    update(); // the look without an entry, and that of a control that does not take the skin's font
}

void TbsSkinCustomControl::SetDefaultWidth(int value)
{
    m_defaultWidth = value;
    if (SkinIndex() == -1 && value > 0) {
        SetBounds(x(), y(), value, height());
    }
}

void TbsSkinCustomControl::SetDefaultHeight(int value)
{
    m_defaultHeight = value;
    if (SkinIndex() == -1 && value > 0) {
        SetBounds(x(), y(), width(), value);
    }
}

void TbsSkinCustomControl::SetUseSkinFont(bool value)
{
    if (m_useSkinFont != value) {
        m_useSkinFont = value;
        update();
    }
}

ControlFont TbsSkinCustomControl::entryFont(const QString &name, int height, TFontStyles style, TColor color)
{
    return ControlFont { name, height, style, color };
}

void TbsSkinCustomControl::LoadSkinEntry()
{
    TbsSkinControl::LoadSkinEntry();
    const TbsDataSkinControl *entry = m_skin.entry();
    if (!entry) {
        m_picture = QImage();
        m_maskPicture = QImage();
        return;
    }
    const auto *custom = dynamic_cast<const TbsDataSkinCustomControl *>(entry);
    if (!custom) {
        // An entry without geometry (a standard label's, say): nothing to draw from. Without a skin rectangle either
        // it leaves the size alone, as any empty skin rectangle does, rather than shrink the control to nothing.
        m_skinRect = entry->skinrect;
        m_resizeMode = IsNullRect(m_skinRect) ? srmNone : srmFixed;
        m_picture = QImage();
        m_maskPicture = QImage();
        m_skinPoints = {};
        m_newPoints = {};
        return;
    }
    m_picture = m_skin.picture(custom->pictureindex);
    m_maskPicture = m_skin.picture(custom->maskpictureindex);
    m_skinRect = custom->skinrect;
    m_skinPoints = { custom->lefttoppoint, custom->righttoppoint, custom->leftbottompoint, custom->rightbottompoint,
        custom->clientrect };
    m_stretchEffect = custom->stretcheffect;
    const TPoint &rb = custom->rightbottompoint;
    const TPoint &rt = custom->righttoppoint;
    const TPoint &lb = custom->leftbottompoint;
    if (IsNullRect(m_skinRect)) {
        m_resizeMode = srmNone;
    } else if (rb.X != 0 && rb.Y != 0) {
        m_resizeMode = srmBoth;
    } else if (rt.X != 0 || rt.Y != 0) {
        m_resizeMode = srmWidth;
    } else if (lb.X != 0 || lb.Y != 0) {
        m_resizeMode = srmHeight;
    } else {
        m_resizeMode = srmFixed;
    }
}

void TbsSkinCustomControl::CalcSkinSize(int &width, int &height)
{
    const int skinWidth = RectWidth(m_skinRect);
    const int skinHeight = RectHeight(m_skinRect);
    const int dx = width - skinWidth;
    const int dy = height - skinHeight;
    const SkinCorners &k = m_skinPoints;
    switch (m_resizeMode) {
    case srmFixed:
        if (SkinIndex() != -1) {
            width = skinWidth;
            height = skinHeight;
        }
        m_newPoints = k;
        break;
    case srmBoth:
        m_newPoints = k.grownBy(dx, dy);
        break;
    case srmWidth:
        height = skinHeight;
        m_newPoints = k;
        m_newPoints.RT = offsetPoint(k.RT, dx, 0);
        m_newPoints.ClRect.Right = k.ClRect.Right + dx;
        break;
    case srmHeight:
        width = skinWidth;
        m_newPoints = k;
        m_newPoints.LB = offsetPoint(k.LB, 0, dy);
        m_newPoints.ClRect.Bottom = k.ClRect.Bottom + dy;
        break;
    default:
        break;
    }
}

TRect TbsSkinCustomControl::clientRectFor(QSize size) const
{
    const int dx = size.width() - RectWidth(m_skinRect);
    const int dy = size.height() - RectHeight(m_skinRect);
    TRect r = m_skinPoints.ClRect;
    switch (m_resizeMode) {
    case srmBoth:
        r.Right += dx;
        r.Bottom += dy;
        break;
    case srmWidth:
        r.Right += dx;
        break;
    case srmHeight:
        r.Bottom += dy;
        break;
    default:
        break;
    }
    return r;
}

TRect TbsSkinCustomControl::MapSkinRect(const TRect &R) const
{
    const int skinWidth = RectWidth(m_skinRect);
    const int skinHeight = RectHeight(m_skinRect);
    const int dx = width() - skinWidth;
    const int dy = height() - skinHeight;
    const SkinCorners &k = m_skinPoints;
    const TPoint topLeft { R.Left, R.Top };
    const TPoint bottomRight { R.Right, R.Bottom };
    switch (m_resizeMode) {
    case srmBoth: {
        const TRect lt { 0, 0, k.LT.X, k.LT.Y };
        const TRect lb { 0, k.LB.Y, k.LB.X, skinHeight };
        const TRect rt { k.RT.X, 0, skinWidth, k.RT.Y };
        const TRect rb { k.RB.X, k.RB.Y, skinWidth, skinHeight };
        const auto wholly
            = [&](const TRect &area) { return pointInRect(area, topLeft) && pointInRect(area, bottomRight); };
        if (wholly(lt)) {
            return R;
        }
        if (wholly(rt)) {
            return offsetRect(R, dx, 0);
        }
        if (wholly(lb)) {
            return offsetRect(R, 0, dy);
        }
        if (wholly(rb)) {
            return offsetRect(R, dx, dy);
        }
        const auto spans = [&](const TRect &from, const TRect &to) {
            return PointWithinRect(from, topLeft) && PointWithinRect(to, bottomRight);
        };
        if (spans(lt, rb)) {
            return { R.Left, R.Top, R.Right + dx, R.Bottom + dy };
        }
        if (spans(lt, rt)) {
            return { R.Left, R.Top, R.Right + dx, R.Bottom };
        }
        if (spans(lb, rb)) {
            return { R.Left, R.Top + dy, R.Right + dx, R.Bottom + dy };
        }
        if (spans(lt, lb)) {
            return { R.Left, R.Top, R.Right, R.Bottom + dy };
        }
        if (spans(rt, rb)) {
            return { R.Left + dx, R.Top, R.Right + dx, R.Bottom + dy };
        }
        return R;
    }
    case srmWidth:
        if (R.Left <= k.LT.X && R.Right >= k.RT.X) {
            return { R.Left, R.Top, R.Right + dx, R.Bottom };
        }
        if (R.Left >= k.RT.X && R.Right > k.RT.X) {
            return offsetRect(R, dx, 0);
        }
        return R;
    case srmHeight:
        if (R.Top <= k.LT.Y && R.Bottom >= k.LB.Y) {
            return { R.Left, R.Top, R.Right, R.Bottom + dy };
        }
        if (R.Top >= k.LB.Y && R.Bottom > k.LB.Y) {
            return offsetRect(R, 0, dy);
        }
        return R;
    default:
        return R;
    }
}

void TbsSkinCustomControl::ApplySkin()
{
    LoadSkinEntry();
    if (SkinIndex() == -1) {
        SetBounds(
            x(), y(), m_defaultWidth > 0 ? m_defaultWidth : width(), m_defaultHeight > 0 ? m_defaultHeight : height());
        UpdateRegion();
        update();
        return;
    }
    int w = width();
    int h = height();
    CalcSkinSize(w, h);
    if (w != width() || h != height()) {
        SetBounds(x(), y(), w, h); // fits the region and repaints
        return;
    }
    UpdateRegion();
    update();
}

void TbsSkinCustomControl::PaintBitmap(QImage &bitmap)
{
    if (!skinLook()) {
        DrawDefaultImage(bitmap);
        return;
    }
    int w = width();
    int h = height();
    CalcSkinSize(w, h); // the current points, for drawing at the present size
    if (m_tiledBackground && !m_windowless && m_resizeMode == srmBoth) {
        paintTiledBackground(bitmap);
    } else {
        DrawSkinImage(bitmap);
    }
}

void TbsSkinCustomControl::paintTiledBackground(QImage &bitmap)
{
    if (m_picture.isNull()) {
        return;
    }
    SkinBorderImages strips = CreateStretchSkinBorderImages(
        m_skinPoints, m_newPoints, m_picture, m_skinRect, width(), height(), false, false, false, false);
    if (!strips.TopImage.isNull()) {
        DrawSkinImage(strips.TopImage);
    }
    if (m_backgroundFill) {
        const TRect piece = offsetRect(m_skinPoints.ClRect, m_skinRect.Left, m_skinRect.Top);
        tile(bitmap, toQRect(m_newPoints.ClRect), m_picture, toQRect(piece));
    }
    const int topHeight = strips.TopImage.height();
    const auto place = [&bitmap](const QImage &strip, int x, int y) {
        stretch(bitmap, QRect(QPoint(x, y), strip.size()), strip, strip.rect());
    };
    place(strips.TopImage, 0, 0);
    place(strips.LeftImage, 0, topHeight);
    place(strips.RightImage, width() - strips.RightImage.width(), topHeight);
    place(strips.BottomImage, 0, height() - strips.BottomImage.height());
}

void TbsSkinCustomControl::DrawDefaultImage(QImage &bitmap)
{
    bitmap.fill(ColorToQColor(clBtnFace));
}

void TbsSkinCustomControl::DrawSkinImage(QImage &bitmap)
{
    DrawSkinPicture(bitmap, m_picture, m_skinRect);
}

void TbsSkinCustomControl::DrawSkinPicture(QImage &bitmap, const QImage &picture, const TRect &rect)
{
    const SkinCorners &k = m_skinPoints;
    switch (m_resizeMode) {
    case srmFixed:
        bitmap = QImage(RectWidth(rect), RectHeight(rect), QImage::Format_RGB32);
        if (bitmap.isNull()) {
            return;
        }
        bitmap.fill(Qt::black);
        stretch(bitmap, bitmap.rect(), picture, toQRect(rect));
        break;
    case srmBoth:
        if (m_tiledBackground && !m_windowless) {
            return; // the tiled-background painting draws the strips and the client itself
        }
        bitmap = CreateSkinImage(k, m_newPoints, picture, rect, width(), height(), true);
        break;
    case srmWidth:
        bitmap = CreateHSkinImage(k.LT.X, RectWidth(m_skinRect) - k.RT.X, picture, rect, width(), m_stretchEffect);
        break;
    case srmHeight:
        bitmap = CreateVSkinImage(k.LT.Y, RectHeight(m_skinRect) - k.LB.Y, picture, rect, height(), m_stretchEffect);
        break;
    default:
        break;
    }
}

void TbsSkinCustomControl::UpdateRegion()
{
    if (m_windowless) {
        return;
    }
    if (m_maskPicture.isNull() || SkinIndex() == -1) {
        if (!mask().isEmpty()) {
            clearMask();
        }
        return;
    }
    int w = width();
    int h = height();
    CalcSkinSize(w, h);
    const QImage mask = m_maskPicture.convertToFormat(QImage::Format_RGB32);
    const TRect whole { 0, 0, mask.width(), mask.height() };
    const SkinCorners &k = m_skinPoints;
    std::optional<QRegion> region;
    switch (m_resizeMode) {
    case srmFixed:
        region = CreateRgnFromMask(mask);
        break;
    case srmBoth:
        region = CreateSkinRegion(k, m_newPoints, mask, width(), height());
        break;
    case srmWidth: // the mask cut exactly like the picture, so that shape and image agree
        region = CreateRgnFromMask(CreateHSkinImage(k.LT.X, mask.width() - k.RT.X, mask, whole, width(), false));
        break;
    case srmHeight:
        region = CreateRgnFromMask(CreateVSkinImage(k.LT.Y, mask.height() - k.LB.Y, mask, whole, height(), false));
        break;
    default:
        break;
    }
    if (region) {
        setMask(*region);
    } else if (!this->mask().isEmpty()) {
        clearMask();
    }
}

} // namespace pixolo
