#pragma once

#include "skinctrls/ControlBase.h"
#include "skinctrls/ControlFont.h"
#include "skinctrls/SkinBinding.h"

#include <QImage>
#include <QPointer>
#include <QString>

namespace pixolo {

class TbsSkinData;

// The windowed skin control: bound to a skin data store by the name of an entry of the store's control list,
// composed in an off-screen image on every paint. Without an entry it draws its default look.
class TbsSkinControl : public ControlBase<QWidget>, public AlignContainer, public SkinBoundControl {
    Q_OBJECT
public:
    explicit TbsSkinControl(QWidget *parent = nullptr);

    // Reloads the entry and repaints (the custom controls also fit size and region).
    void ApplySkin() override;

    void SetBounds(int left, int top, int width, int height) override;

    QRect AlignRect() const override;
    void Realign(QWidget *first = nullptr) override;

    // The control's look at its present size and state, as the next paint puts it on the screen.
    QImage paintImage();

protected:
    virtual void DrawDefaultImage(QImage &bitmap);
    virtual void DrawSkinImage(QImage &bitmap);
    // Adjusts a requested size to the entry's geometry (custom controls).
    virtual void CalcSkinSize(int &width, int &height);
    // Keeps the window shape in step with the entry's mask (custom controls).
    virtual void UpdateRegion() { }
    // The area in which docked children are placed (the whole control here).
    virtual void AdjustClientRect(QRect &rect) const;

    // The skin messages: release before the store reloads, apply after.
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
};

// The skin control with geometry from its entry, a default font and a default size for the look without a skin.
class TbsSkinCustomControl : public TbsSkinControl {
    Q_OBJECT
public:
    explicit TbsSkinCustomControl(QWidget *parent = nullptr);

    const ControlFont &DefaultFont() const { return m_defaultFont; }
    void SetDefaultFont(const ControlFont &value);
    int DefaultWidth() const { return m_defaultWidth; }
    void SetDefaultWidth(int value);
    int DefaultHeight() const { return m_defaultHeight; }
    void SetDefaultHeight(int value);
    bool UseSkinFont() const { return m_useSkinFont; }
    void SetUseSkinFont(bool value) { m_useSkinFont = value; }

    void ApplySkin() override;

protected:
    // Fills the control with the button face colour.
    void DrawDefaultImage(QImage &bitmap) override;

    // Painting switches of the skin look: the panel tiles its background; background fill is on by default.
    bool m_tiledBackground = false;
    bool m_backgroundFill = true;

private:
    ControlFont m_defaultFont;
    int m_defaultWidth = 0;
    int m_defaultHeight = 0;
    bool m_useSkinFont = true;
};

} // namespace pixolo
