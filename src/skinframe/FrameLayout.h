#pragma once

#include "skinframe/FrameGeometry.h"
#include "skinframe/SkinFrameTypes.h"

#include <QPoint>
#include <QSize>

#include <optional>

namespace pixolo
{

class TbsSkinForm;

// The frame laid out for the size the window has: the skin's geometry stretched to it (or the plain frame's caption
// and buttons without a skin in use), the frame objects' places, the client widget's place, the window's shape, the
// size limits and the hit test. The numbers come from FrameGeometry; this part applies them to the form's window.
class FrameLayout final
{
public:
    explicit FrameLayout(TbsSkinForm &form)
        : m_form(form)
    {
    }

    // The window size the frame was last laid out for.
    int frameWidth() const { return m_frameWidth; }
    int frameHeight() const { return m_frameHeight; }
    // Takes the window's present size as the one the frame is laid out for.
    void takeWindowSize();
    const TbsFrameGeometry &geometry() const { return m_geometry; }
    const std::optional<FrameMask> &mask() const { return m_mask; }
    const TRect &defaultCaption() const { return m_defaultCaption; }
    DefaultFrameMetrics defaultMetrics() const;

    // The skin's geometry for the present size, with the objects placed in it (the painting does this each time).
    void relayoutSkin();
    void UpdateFrame(bool Relayout);
    void LayoutObjects();
    void layoutDefaultFrame();
    void UpdateWindowRegion(bool Full);
    // Lays the frame out anew for the present size and repaints it.
    void NudgeWidth();
    // The window took a new size: the frame follows it.
    void windowResized();
    // The client rectangle of the frame in use, window coordinates (never inside out).
    TRect clientRect() const;
    void placeClient();
    // Sizes the window so that its client area is `client` with the frame in use.
    void resizeForClient(QSize client);
    void resizeForm(QSize size);

    int GetMinWidth() const;
    int GetMinHeight() const;
    int GetMaxWidth() const;
    int GetMaxHeight() const;
    // The window's own limits follow the frame's: a rolled-up window is no higher than its caption.
    void updateSizeLimits();

    int SkinHitTest(TPoint P) const;
    int DefaultHitTest(TPoint P) const;
    // SkinHitTest with a skin in use, else DefaultHitTest; every point is client area without a border.
    int HitTest(TPoint P) const;
    TPoint ScreenToWindow(const QPoint &global) const;

private:
    FrameSizeRules sizeRules() const;
    FrameHitState hitState() const;

    TbsSkinForm &m_form;
    int m_frameWidth = 0;
    int m_frameHeight = 0;
    TbsFrameGeometry m_geometry;
    std::optional<FrameMask> m_mask;
    TRect m_defaultCaption; // the plain frame's caption
};

} // namespace pixolo
