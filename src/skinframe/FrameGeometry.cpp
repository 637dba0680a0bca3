#include "skinframe/FrameGeometry.h"

#include "skin/SkinRegion.h"
#include "skin/TbsSkinData.h"

#include <algorithm>
#include <array>

namespace pixolo
{

namespace
{

SkinCorners maskCorners(const TbsSkinData &store)
{
    return { store.lefttoppoint, store.righttoppoint, store.leftbottompoint, store.rightbottompoint,
        store.maskrectarea };
}

} // namespace

TRect TbsFrameGeometry::clientArea() const
{
    TRect r = NewClRect;
    r.Right = std::max(r.Right, r.Left);
    r.Bottom = std::max(r.Bottom, r.Top);
    return r;
}

TbsFrameGeometry CalcFrameGeometry(const TbsSkinData &store, int W, int H)
{
    TbsFrameGeometry g;
    const int PW = store.Picture.Width();
    const int PH = store.Picture.Height();
    g.Width = W;
    g.Height = H;
    g.DX = W - PW;
    g.DY = H - PH;
    g.NewLTPoint = store.lefttoppoint;
    g.NewRTPoint = offsetPoint(store.righttoppoint, g.DX, 0);
    g.NewLBPoint = offsetPoint(store.leftbottompoint, 0, g.DY);
    g.NewRBPoint = offsetPoint(store.rightbottompoint, g.DX, g.DY);
    g.NewClRect = store.clientrect;
    g.NewClRect.Right += g.DX;
    g.NewClRect.Bottom += g.DY;
    g.NewCaptionRect = store.captionrect;
    if (!IsNullRect(store.captionrect)) {
        g.NewCaptionRect.Right += g.DX;
    }
    g.NewButtonsRect = store.buttonsrect;
    if (!IsNullRect(store.buttonsrect) && store.buttonsrect.Left > PW / 2) {
        g.NewButtonsRect = offsetRect(store.buttonsrect, g.DX, 0);
    }
    g.NewMaskRect = store.maskrectarea;
    g.NewMaskRect.Right += g.DX;
    g.NewMaskRect.Bottom += g.DY;
    g.NewHitTestLTPoint = store.hittestlefttoppoint;
    g.NewHitTestRTPoint = offsetPoint(store.hittestrighttoppoint, g.DX, 0);
    g.NewHitTestLBPoint = offsetPoint(store.hittestleftbottompoint, 0, g.DY);
    g.NewHitTestRBPoint = offsetPoint(store.hittestrightbottompoint, g.DX, g.DY);
    g.ButtonsOffset = store.buttonsoffset;
    g.ButtonsInLeft = store.buttonsinleft;
    return g;
}

TRect StretchFrameRect(const TbsSkinData &store, const TbsFrameGeometry &geometry, const TRect &R)
{
    const int PW = store.Picture.Width();
    const int PH = store.Picture.Height();
    const TPoint &LT = store.lefttoppoint;
    const TPoint &RT = store.righttoppoint;
    const TPoint &LB = store.leftbottompoint;
    const TPoint &RB = store.rightbottompoint;
    const TRect TL { 0, 0, LT.X, LT.Y };
    const TRect TR { RT.X, 0, PW, RT.Y };
    const TRect BL { 0, LB.Y, LB.X, PH };
    const TRect BR { RB.X, RB.Y, PW, PH };
    const int DX = geometry.DX;
    const int DY = geometry.DY;

    if (RectWithinRect(R, TL)) {
        return R;
    }
    if (RectWithinRect(R, TR)) {
        return offsetRect(R, DX, 0);
    }
    if (RectWithinRect(R, BL)) {
        return offsetRect(R, 0, DY);
    }
    if (RectWithinRect(R, BR)) {
        return offsetRect(R, DX, DY);
    }
    const TPoint P1 { R.Left, R.Top };
    const TPoint P2 { R.Right, R.Bottom };
    const auto in = [](const TRect &area, const TPoint &p) { return pointInRect(area, p); };
    TRect result = R;
    if (in(TL, P1) && in(BR, P2)) {
        result.Right += DX;
        result.Bottom += DY;
    } else if (in(TL, P1) && in(TR, P2)) {
        result.Right += DX; // spans the top edge, like a caption
    } else if (in(BL, P1) && in(BR, P2)) {
        result = offsetRect(R, 0, DY);
        result.Right += DX;
    } else if (in(TL, P1) && in(BL, P2)) {
        result.Bottom += DY;
    } else if (in(TR, P1) && in(BR, P2)) {
        result = offsetRect(R, DX, 0);
        result.Bottom += DY;
    }
    return result;
}

std::optional<FrameMask> FrameMask::build(const TbsSkinData &store, const TbsFrameGeometry &geometry)
{
    if (store.MaskPicture.Empty()) {
        return std::nullopt;
    }
    const SkinCorners old = maskCorners(store);
    const SkinCorners now = old.grownBy(geometry.DX, geometry.DY);
    FrameMask mask;
    mask.m_maskRect = geometry.NewMaskRect;
    mask.m_strips = CreateSkinBorderImages(old, now, store.MaskPicture.toRgb32(), geometry.Width);

    const TRect &m = geometry.NewMaskRect;
    const auto part = [](const QImage &strip, int x, int y) {
        return strip.isNull() ? QRegion() : regionFromRuns(CreateRegionData(strip, x, y));
    };
    QRegion shape(toQRect(m));
    shape += part(mask.m_strips.TopImage, 0, 0);
    shape += part(mask.m_strips.BottomImage, 0, m.Bottom);
    shape += part(mask.m_strips.LeftImage, 0, m.Top);
    shape += part(mask.m_strips.RightImage, m.Right, m.Top);
    mask.m_region = shape.intersected(QRect(0, 0, std::max(0, geometry.Width), std::max(0, geometry.Height)));
    return mask;
}

std::optional<QRegion> FrameMask::wholeMaskRegion(const TbsSkinData &store)
{
    if (store.MaskPicture.Empty()) {
        return std::nullopt;
    }
    return CreateRgnFromMask(store.MaskPicture.toRgb32());
}

bool FrameMask::blackAt(const QImage &strip, int x, int y)
{
    if (strip.isNull() || x < 0 || y < 0 || x >= strip.width() || y >= strip.height()) {
        return false;
    }
    return (strip.pixel(x, y) & 0x00FFFFFF) == 0;
}

bool FrameMask::PointInShape(TPoint P) const
{
    const TRect &m = m_maskRect;
    if (pointInRect(m, P)) {
        return true;
    }
    if (P.Y <= m.Top) {
        return blackAt(m_strips.TopImage, P.X, P.Y);
    }
    if (P.Y < m.Bottom && P.X > m.Left) {
        return blackAt(m_strips.RightImage, P.X - m.Right, P.Y - m.Top);
    }
    if (P.Y < m.Bottom) {
        return blackAt(m_strips.LeftImage, P.X, P.Y - m.Top);
    }
    return blackAt(m_strips.BottomImage, P.X, P.Y - m.Bottom);
}

int SkinHitTest(const TbsFrameGeometry &g, const FrameMask *mask, const FrameHitState &s, TPoint P)
{
    const bool inCaption
        = std::any_of(s.CaptionRects.begin(), s.CaptionRects.end(), [&](const TRect &r) { return pointInRect(r, P); });
    if (s.RolledUp || s.Minimized) {
        return inCaption ? HTCAPTION : HTOBJECT;
    }
    if (s.ObjectHot && !inCaption && !pointInRect(g.NewClRect, P) && !s.SizingLoop) {
        return HTOBJECT;
    }
    if (!s.Maximized && s.Sizeable) {
        const int b = s.BorderWidth;
        const std::array<TPoint, 4> probes { { { P.X - b, P.Y }, { P.X, P.Y - b }, { P.X + b, P.Y },
            { P.X, P.Y + b } } };
        const TRect window { 0, 0, s.Width, s.Height };
        bool nearEdge = false;
        if (mask) {
            nearEdge = !pointInRect(g.NewMaskRect, P)
                && std::any_of(probes.begin(), probes.end(), [&](const TPoint &q) { return !mask->PointInShape(q); });
        } else {
            nearEdge
                = std::any_of(probes.begin(), probes.end(), [&](const TPoint &q) { return !pointInRect(window, q); });
        }
        if (nearEdge) {
            const TPoint &lt = g.NewHitTestLTPoint;
            const TPoint &rt = g.NewHitTestRTPoint;
            const TPoint &lb = g.NewHitTestLBPoint;
            const TPoint &rb = g.NewHitTestRBPoint;
            const TRect &c = g.NewClRect;
            if (P.X <= lt.X && P.Y <= lt.Y) {
                return HTTOPLEFT;
            }
            if (P.X >= rt.X && P.Y <= rt.Y) {
                return HTTOPRIGHT;
            }
            if (P.X <= lb.X && P.Y >= lb.Y) {
                return HTBOTTOMLEFT;
            }
            if (P.X >= rb.X && P.Y >= rb.Y) {
                return HTBOTTOMRIGHT;
            }
            if (pointInRect({ lt.X, 0, rt.X, c.Top }, P)) {
                return HTTOP;
            }
            if (pointInRect({ lb.X, c.Bottom, rb.X, s.Height }, P)) {
                return HTBOTTOM;
            }
            if (pointInRect({ 0, lt.Y, c.Left, lb.Y }, P)) {
                return HTLEFT;
            }
            if (pointInRect({ c.Right, rt.Y, s.Width, rb.Y }, P)) {
                return HTRIGHT;
            }
        }
    }
    if (pointInRect(g.NewClRect, P)) {
        return HTCLIENT;
    }
    return inCaption ? HTCAPTION : HTOBJECT;
}

int DefaultHitTest(const TRect &captionRect, int captionHeight, const FrameHitState &s, TPoint P)
{
    const int W = s.Width;
    const int H = s.Height;
    if (!s.Maximized && !s.RolledUp && !s.Minimized && s.Sizeable) {
        if (s.ObjectHot) {
            return HTOBJECT;
        }
        constexpr int m = 2;
        if (P.X <= m && P.Y <= m) {
            return HTTOPLEFT;
        }
        if (P.X >= W - m && P.Y <= m) {
            return HTTOPRIGHT;
        }
        if (P.X <= m && P.Y >= H - m) {
            return HTBOTTOMLEFT;
        }
        if (P.X >= W - m && P.Y >= H - m) {
            return HTBOTTOMRIGHT;
        }
        if (P.X <= m) {
            return HTLEFT;
        }
        if (P.Y <= m) {
            return HTTOP;
        }
        if (P.X >= W - m) {
            return HTRIGHT;
        }
        if (P.Y >= H - m) {
            return HTBOTTOM;
        }
    }
    if (pointInRect(captionRect, P)) {
        return HTCAPTION;
    }
    if (pointInRect({ 3, captionHeight + 3, W - 3, H - 3 }, P)) {
        return HTCLIENT;
    }
    return HTOBJECT;
}

DefaultFrameMetrics DefaultFrameMetrics::forStyle(TFormBorderStyle style)
{
    DefaultFrameMetrics metrics;
    if (isToolWindow(style)) {
        metrics.CaptionHeight = 15;
        metrics.ButtonSize = 13;
    }
    return metrics;
}

TRect defaultClientRect(const DefaultFrameMetrics &metrics, int W, int H)
{
    const int b = metrics.Border;
    TRect r { b, metrics.CaptionHeight + b, W - b, H - b };
    r.Right = std::max(r.Right, r.Left);
    r.Bottom = std::max(r.Bottom, r.Top);
    return r;
}

int FrameSizeRules::GetMinWidth() const
{
    if (!Skin) {
        return MinWidth > 0 ? MinWidth : 120;
    }
    const int PW = Skin->Picture.Width();
    if (MinWidth > PW && !Minimized) {
        return MinWidth;
    }
    return Skin->formminwidth > 0 ? Skin->formminwidth : PW;
}

int FrameSizeRules::GetMinHeight() const
{
    const int F = Skin ? Skin->Picture.Height() - RectHeight(Skin->clientrect) : DefaultCaptionHeight + 6;
    return (F >= MinHeight || RolledUp || Minimized) ? F : MinHeight;
}

int FrameSizeRules::GetMaxWidth() const
{
    const int area = RectWidth(WorkArea);
    return (MaxWidth != 0 && MaxWidth < area) ? MaxWidth : area;
}

int FrameSizeRules::GetMaxHeight() const
{
    const int area = RectHeight(WorkArea);
    return (MaxHeight != 0 && MaxHeight < area) ? MaxHeight : area;
}

} // namespace pixolo
