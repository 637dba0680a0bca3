#pragma once

#include <QImage>

class QPainter;
class QRegion;

namespace pixolo
{

class TbsActiveSkinObject;
class TbsSkinForm;
struct SkinBorderImages;

// Paints the frame of a form: the skin's frame strips stretched to the window with the objects drawn into them (or
// the plain frame without a skin in use), and the client area's background with the logo. The pictures of the skin
// in use stay with the form, which drops them when the skin changes.
class FramePainter final
{
public:
    explicit FramePainter(TbsSkinForm &form)
        : m_form(form)
    {
    }

    // Paint the whole frame (not the client area) onto Canvas, in window coordinates.
    void PaintSkinFrame(QPainter &Canvas);
    void PaintDefaultFrame(QPainter &Canvas);
    // PaintSkinFrame with a skin in use, else PaintDefaultFrame.
    void paintFrame(QPainter &Canvas);
    // The window's paint event: the frame where `region` lies outside the visible client widget.
    void paintWindow(QPainter &painter, const QRegion &region);
    // Paints the client area's background; Canvas's origin is the client area's top-left corner.
    void PaintClientBackground(QPainter &Canvas);
    // The frame as the window shows it, W × H, the client area left black: for tests and measurements.
    QImage frameImage();
    void RepaintObject(TbsActiveSkinObject *Object);
    // The form's icon at the small-icon size, for a system-menu button that shows it.
    QImage SmallIcon();
    int smallIconSize() const;

private:
    const SkinBorderImages &frameStrips(const QImage &source, bool inactive);

    TbsSkinForm &m_form;
    QImage m_smallIcon;
};

} // namespace pixolo
