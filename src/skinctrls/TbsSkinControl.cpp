#include "skinctrls/TbsSkinControl.h"

#include "skinctrls/ControlColors.h"

#include <QPaintEvent>
#include <QPainter>

namespace pixolo {

TbsSkinControl::TbsSkinControl(QWidget *parent)
    : ControlBase<QWidget>(parent)
    , SkinBoundControl(QString())
{
    // Every pixel comes from the paint: nothing is erased first.
    setAttribute(Qt::WA_OpaquePaintEvent, true);
}

bool TbsSkinControl::event(QEvent *event)
{
    if (handleSkinNotice(event, !m_windowless)) {
        return true;
    }
    return ControlBase<QWidget>::event(event);
}

void TbsSkinControl::ApplySkin()
{
    LoadSkinEntry();
    repaint();
}

void TbsSkinControl::CalcSkinSize(int &, int &)
{
}

void TbsSkinControl::SetBounds(int left, int top, int width, int height)
{
    LoadSkinEntry();
    const bool skinResize = (width != this->width() || height != this->height()) && SkinIndex() != -1;
    if (skinResize) {
        CalcSkinSize(width, height);
    }
    ControlCore::SetBounds(left, top, width, height);
    if (skinResize) {
        UpdateRegion();
        repaint();
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

QImage TbsSkinControl::paintImage()
{
    if (width() <= 0 || height() <= 0) {
        return QImage();
    }
    LoadSkinEntry();
    QImage bitmap(size(), QImage::Format_ARGB32_Premultiplied);
    bitmap.fill(Qt::transparent);
    if (SkinIndex() == -1) {
        DrawDefaultImage(bitmap);
    } else {
        DrawSkinImage(bitmap);
    }
    return bitmap;
}

void TbsSkinControl::paintEvent(QPaintEvent *)
{
    const QImage bitmap = paintImage();
    if (bitmap.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawImage(0, 0, bitmap);
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
    if (SkinIndex() == -1) {
        update();
    }
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

void TbsSkinCustomControl::ApplySkin()
{
    LoadSkinEntry();
    if (SkinIndex() == -1) {
        SetBounds(
            x(), y(), m_defaultWidth > 0 ? m_defaultWidth : width(), m_defaultHeight > 0 ? m_defaultHeight : height());
    }
    UpdateRegion();
    repaint();
}

void TbsSkinCustomControl::DrawDefaultImage(QImage &bitmap)
{
    bitmap.fill(ColorToQColor(clBtnFace));
}

} // namespace pixolo
