#pragma once

#include "skin/SkinPaint.h"
#include "skinctrls/ControlBase.h"
#include "skinctrls/ControlFont.h"
#include "skinctrls/SkinBinding.h"

#include <QImage>
#include <QPointer>
#include <QString>

namespace pixolo
{

class TbsSkinData;

// How a control's image follows its size, derived from the corner points of its entry.
enum TSkinResizeMode : int {
    srmNone = -1, // empty skin rectangle: size and region are left alone, nothing is drawn
    srmFixed = 0, // the control takes the skin rectangle's size
    srmBoth = 1, // four corners: the control stretches both ways
    srmWidth = 2, // the height is fixed to the skin height
    srmHeight = 3, // the width is fixed to the skin width
};

// The windowed skin control: bound to a skin data store by the name of an entry of the store's control list,
// composed in an off-screen image on every paint. Without an entry it draws its default look.
class TbsSkinControl : public ControlBase<QWidget>, public AlignContainer, public SkinBoundControl
{
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
    // Composes the control into `bitmap` (its size, transparent): the default look without an entry, the skin
    // image with one. The entry was loaded just before.
    virtual void PaintBitmap(QImage &bitmap);
    virtual void DrawDefaultImage(QImage &bitmap);
    virtual void DrawSkinImage(QImage &bitmap);
    // Adjusts a requested size to the entry's geometry (custom controls).
    virtual void CalcSkinSize(int &width, int &height);
    // Keeps the window shape in step with the entry's mask (custom controls).
    virtual void UpdateRegion() { }
    // The area in which docked children are placed (the whole control here).
    virtual void AdjustClientRect(QRect &rect) const;

    // Before the store reloads a windowed control forgets its entry; a windowless one keeps nothing to forget.
    void skinAboutToChange() override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
};

// The skin control with geometry from its entry: the picture, the skin rectangle, the corner points and client
// rectangle and the resize mode they give; a default font and a default size for the look without a skin.
class TbsSkinCustomControl : public TbsSkinControl
{
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
    void SetUseSkinFont(bool value);

    void ApplySkin() override;

    // The entry's geometry as last loaded: resize mode, skin rectangle, and the corner points and client rectangle
    // in skin-rectangle coordinates, at the skin size and moved for the control's present size.
    int ResizeMode() const { return m_resizeMode; }
    const TRect &SkinRect() const { return m_skinRect; }
    const SkinCorners &SkinPoints() const { return m_skinPoints; }
    const SkinCorners &NewPoints() const { return m_newPoints; }

    // A rectangle given in skin-rectangle coordinates (a caption area, a marker) moved to where it lies at the
    // control's present size.
    TRect MapSkinRect(const TRect &R) const;

protected:
    void LoadSkinEntry() override;
    void CalcSkinSize(int &width, int &height) override;
    void PaintBitmap(QImage &bitmap) override;
    // Fills the control with the button face colour.
    void DrawDefaultImage(QImage &bitmap) override;
    // DrawSkinPicture of the skin rectangle.
    void DrawSkinImage(QImage &bitmap) override;
    void UpdateRegion() override;

    // Draws `rect` of `picture` (a state image: the skin rectangle's size, corner points and client rectangle)
    // into `bitmap` at the control's present size, by the resize mode: copied (mode 0, the bitmap taking the
    // rectangle's size), built both ways with the client drawn (1), in width (2) or in height (3); nothing for -1.
    void DrawSkinPicture(QImage &bitmap, const QImage &picture, const TRect &rect);
    // Whether the control draws its skinned look: it has an entry with a picture. An entry without a picture
    // leaves the control its default look.
    bool skinLook() const { return SkinIndex() != -1 && !m_picture.isNull(); }
    // The client rectangle moved for a control of `size` (the current client rectangle), in control coordinates.
    TRect clientRectFor(QSize size) const;

    // The font the entry names (name, height and style), in `color`.
    static ControlFont entryFont(const QString &name, int height, TFontStyles style, TColor color);

    // The entry's data, copied by LoadSkinEntry; the images share the store's pixels.
    QImage m_picture;
    QImage m_maskPicture;
    TRect m_skinRect;
    SkinCorners m_skinPoints;
    SkinCorners m_newPoints;
    bool m_stretchEffect = false;
    int m_resizeMode = srmFixed;

    // Painting switches of the skin look: the panel tiles its background; background fill is on by default.
    bool m_tiledBackground = false;
    bool m_backgroundFill = true;

private:
    // The skin look of a four-corner control that tiles its background: border strips around the tiled client
    // piece, the top strip first going through DrawSkinImage (where a panel draws its caption).
    void paintTiledBackground(QImage &bitmap);

    ControlFont m_defaultFont;
    int m_defaultWidth = 0;
    int m_defaultHeight = 0;
    bool m_useSkinFont = true;
};

} // namespace pixolo
