#pragma once

#include "skin/SkinGeometry.h"
#include "skin/SkinPaint.h"
#include "skinframe/SkinFrameTypes.h"

#include <QImage>
#include <QRegion>

#include <optional>
#include <vector>

namespace pixolo
{

class TbsSkinData;

// The frame of a skinned window laid out for one window size: where the corner points, the client area, the
// caption and button areas, the mask's solid middle and the hit-test points of the skin's form picture lie on a
// window W × H. All coordinates are window coordinates (origin at the window's top-left corner, frame included).
// The skin's form picture is PW × PH; DX = W − PW and DY = H − PH.
struct TbsFrameGeometry {
    int Width = 0;
    int Height = 0;
    int DX = 0;
    int DY = 0;
    TPoint NewLTPoint;
    TPoint NewRTPoint;
    TPoint NewLBPoint;
    TPoint NewRBPoint;
    TRect NewClRect;
    TRect NewCaptionRect;
    TRect NewButtonsRect;
    TRect NewMaskRect;
    TPoint NewHitTestLTPoint;
    TPoint NewHitTestRTPoint;
    TPoint NewHitTestLBPoint;
    TPoint NewHitTestRBPoint;
    int ButtonsOffset = 0;
    bool ButtonsInLeft = false;

    // The client rectangle as the client widget gets it: never inside out (zero width or height instead).
    TRect clientArea() const;
};

// The geometry of the store's skin for a W × H window. The store must not be Empty.
TbsFrameGeometry CalcFrameGeometry(const TbsSkinData &store, int W, int H);

// Where a rectangle R of the form picture lies on the window (the stretching rule): inside a corner area it keeps
// its place relative to that corner; spanning two corner areas it grows with the window between them.
TRect StretchFrameRect(const TbsSkinData &store, const TbsFrameGeometry &geometry, const TRect &R);

// The shape of a skinned window, cut from the skin's mask for one window size: the solid middle (the new mask
// rectangle) and the four mask border strips around it, black where the window is.
class FrameMask final
{
public:
    // None when the skin has no mask picture.
    static std::optional<FrameMask> build(const TbsSkinData &store, const TbsFrameGeometry &geometry);
    // The whole mask picture, unstretched, at (0, 0).
    static std::optional<QRegion> wholeMaskRegion(const TbsSkinData &store);

    // True when P is inside the shape. Every read outside a strip counts as outside the shape, so probes that fall
    // beyond the window, or past a strip's last row or column, are outside.
    bool PointInShape(TPoint P) const;
    // The window region: the new mask rectangle united with the black pixels of the four strips.
    const QRegion &region() const { return m_region; }
    const SkinBorderImages &strips() const { return m_strips; }

private:
    static bool blackAt(const QImage &strip, int x, int y);

    SkinBorderImages m_strips;
    TRect m_maskRect;
    QRegion m_region;
};

// What the hit test needs to know of the window besides its geometry.
struct FrameHitState {
    int Width = 0;
    int Height = 0;
    bool Sizeable = true; // the border style lets the frame size the window
    bool Maximized = false;
    bool Minimized = false;
    bool RolledUp = false;
    bool ObjectHot = false; // a frame object has the mouse
    bool SizingLoop = false; // a move or size operation runs
    int BorderWidth = 0; // how far from the point the edge probes lie (skinned frame)
    std::vector<TRect> CaptionRects; // the caption objects' rectangles
};

// The hit code of P on a skinned frame: HTCAPTION on a caption object, the sizing codes near a sizeable edge,
// HTCLIENT in the client area and HTOBJECT on the rest of the frame. `mask` is the window's shape, or null when
// the skin has no mask.
int SkinHitTest(const TbsFrameGeometry &geometry, const FrameMask *mask, const FrameHitState &state, TPoint P);

// The hit code of P on the plain frame drawn while no skin is in use.
int DefaultHitTest(const TRect &captionRect, int captionHeight, const FrameHitState &state, TPoint P);

// The sizes of the plain frame: its caption and button size depend on the border style.
struct DefaultFrameMetrics {
    int CaptionHeight = 19;
    int ButtonSize = 17;
    int Border = 3;

    static DefaultFrameMetrics forStyle(TFormBorderStyle style);
};

// The size limits of a skinned window. `Skin` is the store while its skin is in use, else null (the plain frame).
struct FrameSizeRules {
    const TbsSkinData *Skin = nullptr;
    int MinWidth = 0;
    int MinHeight = 0;
    int MaxWidth = 0;
    int MaxHeight = 0;
    bool RolledUp = false;
    bool Minimized = false;
    int DefaultCaptionHeight = 19;
    TRect WorkArea; // of the window's monitor (the whole monitor when maximising onto it)

    int GetMinWidth() const;
    int GetMinHeight() const; // also the height of a rolled-up window
    int GetMaxWidth() const;
    int GetMaxHeight() const;
};

// The client rectangle of the plain frame of a W × H window.
TRect defaultClientRect(const DefaultFrameMetrics &metrics, int W, int H);

} // namespace pixolo
