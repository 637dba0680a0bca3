#pragma once

#include "skinctrls/MorphTimer.h"
#include "skinctrls/TbsSkinControl.h"

#include <QImage>
#include <QList>

class QTimer;

namespace pixolo
{

enum TCheckBoxState : int { cbUnchecked, cbChecked, cbGrayed };

// One class for a check box and a radio button: a check image and a one-line caption, three states, grouping of
// radio-like boxes, focus, keyboard and mouse toggling. Flat (the value at creation) lets the parent show
// through; non-flat paints the whole control.
class TbsSkinCheckRadioBox : public TbsSkinCustomControl
{
    Q_OBJECT
public:
    explicit TbsSkinCheckRadioBox(QWidget *parent = nullptr);

    bool Checked() const { return m_checked; }
    // A grayed box set to false stays grayed; a box of a group that is checked unchecks the others; OnClick fires
    // (for a radio box only when it became checked).
    void SetChecked(bool value);
    TCheckBoxState State() const { return m_state; }
    void SetState(TCheckBoxState value);
    bool AllowGrayed() const { return m_allowGrayed; }
    void SetAllowGrayed(bool value);
    bool Radio() const { return m_radio; }
    void SetRadio(bool value);
    int GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(int value) { m_groupIndex = value; }
    bool Flat() const { return m_flat; }
    void SetFlat(bool value);
    bool CanFocused() const { return m_canFocused; }
    // Also sets TabStop.
    void SetCanFocused(bool value);
    // Images drawn before the caption in the flat skin look.
    const QList<QImage> &Images() const { return m_images; }
    void SetImages(const QList<QImage> &value);
    int ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int value);

    // The box's click action: a check box flips, an unchecked radio box becomes checked.
    void Toggle();

    // The pointer is over the box, or a mouse button went down on it.
    bool Hot() const { return m_hot; }

    // Where the box stands between its normal (0) and active (1) background while it morphs.
    double MorphFactor() const { return m_morphFactor; }
    // Whether changes between the normal and active looks are shown as a morph (non-flat boxes only).
    bool morphActive() const;
    // Where the caption and the check image go at the present size (non-flat, with an entry).
    QRect TextRect() const { return toQRect(m_textRect); }
    QRect CheckImagePlace() const { return toQRect(m_checkPlace); }

    void ApplySkin() override;

protected:
    void LoadSkinEntry() override;
    void CalcSkinSize(int &width, int &height) override;
    void PaintBitmap(QImage &bitmap) override;
    void DrawDefaultImage(QImage &bitmap) override;
    void CaptionChanged() override { update(); }
    void EnabledChanged() override;
    void MouseEnter() override;
    void MouseLeave() override;
    void AcceleratorPressed() override;
    bool KeyUp(QKeyEvent *event) override;
    bool KeyDown(QKeyEvent *event) override;

    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // Tells a screen reader of a change from the state `before`.
    void notifyCheckChange(TCheckBoxState before);
    void setHot(bool value);
    void drawDefaultMark(QPainter &painter);
    // The check image of the state, as the table of states gives it (lightened for the grayed state).
    QImage checkImage() const;
    // The non-flat state image: background `rect`, the check image and the caption.
    void drawStateImage(QImage &bitmap, const TRect &rect, bool active);
    void drawFlatSkin(QImage &bitmap);
    void startMorph();
    void stopMorph();
    void morphStep();

    // The check/radio entry's data, copied by LoadSkinEntry.
    bool m_checkEntry = false;
    ControlFont m_skinFont;
    TColor m_activeFontColor = 0;
    TColor m_unenabledFontColor = 0;
    TColor m_frameFontColor = 0;
    TRect m_activeSkinRect;
    TRect m_checkImageArea;
    TRect m_textArea;
    TRect m_checkImageRect;
    TRect m_uncheckImageRect;
    TRect m_activeCheckImageRect;
    TRect m_activeUncheckImageRect;
    TRect m_unenabledCheckImageRect;
    TRect m_unenabledUncheckImageRect;
    bool m_morphing = false;
    TMorphKind m_morphKind = mkDefault;
    // Computed for the present size by CalcSkinSize.
    TRect m_textRect;
    TRect m_checkPlace;
    double m_morphFactor = 0;
    MorphTimer m_morphTimer;

    bool m_checked = false;
    TCheckBoxState m_state = cbUnchecked;
    bool m_allowGrayed = false;
    bool m_radio = false;
    int m_groupIndex = 0;
    bool m_flat = true;
    bool m_canFocused = true;
    QList<QImage> m_images;
    int m_imageIndex = 0;
    bool m_hot = false;
};

} // namespace pixolo
