#pragma once

#include "platform/TBitmap.h"
#include "skinctrls/ControlBase.h"

#include <QImage>

namespace pixolo
{

// The framework's picture control: a copy of a bitmap shown at its natural size from the top-left corner and
// clipped to the control, or centred, or stretched over the control. Where there is no picture the parent shows.
class TImage : public ControlBase<QWidget>
{
    Q_OBJECT
public:
    explicit TImage(QWidget *parent = nullptr);

    // The picture shown (a copy of what was given).
    const TBitmap &Picture() const { return m_picture; }
    void SetPicture(const TBitmap &value);
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool value);
    bool Center() const { return m_center; }
    void SetCenter(bool value);

    // Where the picture lands in the control's coordinates.
    QRect DestRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // The part of the picture that can show, converted once for painting.
    const QImage &shown();

    TBitmap m_picture;
    QImage m_shown; // made at the next paint after a change
    bool m_stretch = false;
    bool m_center = false;
};

} // namespace pixolo
