#pragma once

#include "platform/TBitmap.h"
#include "skinctrls/TbsSkinControl.h"

#include <QPointer>

#include <vector>

namespace pixolo
{

// Edge of a panel or label in the default look; bvNone also selects the borderless skin painting.
enum TbsSkinBorderStyle : int { bvFrame, bvRaised, bvLowered, bvNone };

// The one-pixel edge of the default look along the inside of `rect`: shadow all round for bvFrame, highlight
// top-left and shadow bottom-right for bvRaised, the reverse for bvLowered, nothing for bvNone.
void drawBorderStyle(QPainter &painter, const QRect &rect, TbsSkinBorderStyle style);

// A panel that frames and backs an area of a window. It can carry a caption bar with a check box, a glyph and a
// roll-up arrow; its docked children are placed inside its edge and caption bar.
class TbsSkinPanel : public TbsSkinCustomControl
{
    Q_OBJECT
public:
    explicit TbsSkinPanel(QWidget *parent = nullptr);

    TbsSkinBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TbsSkinBorderStyle value);
    bool CaptionMode() const { return m_captionMode; }
    void SetCaptionMode(bool value);
    int DefaultCaptionHeight() const { return m_defaultCaptionHeight; }
    void SetDefaultCaptionHeight(int value);
    TAlignment DefaultAlignment() const { return m_defaultAlignment; }
    void SetDefaultAlignment(TAlignment value);
    bool CheckedMode() const { return m_checkedMode; }
    void SetCheckedMode(bool value);
    bool Checked() const { return m_checked; }
    // Stores the state, enables or disables the children in checked mode, then fires OnChecked (in every mode).
    void SetChecked(bool value);
    bool AutoEnabledControls() const { return m_autoEnabledControls; }
    void SetAutoEnabledControls(bool value) { m_autoEnabledControls = value; }
    bool RollUpMode() const { return m_rollUpMode; }
    void SetRollUpMode(bool value);
    bool RollUpState() const { return m_rollUpState; }
    void SetRollUpState(bool value);
    // The height before rolling up; -1 while not rolled up.
    int RealHeight() const { return m_realHeight; }
    const TBitmap &Glyph() const { return m_glyph; }
    void SetGlyph(const TBitmap &value);
    int NumGlyphs() const { return m_numGlyphs; }
    void SetNumGlyphs(int value);
    int Spacing() const { return m_spacing; }
    void SetSpacing(int value);

    TNotifyEvent OnChecked;
    TNotifyEvent OnChangeRollUpState;

    void ApplySkin() override;
    void Realign(QWidget *first = nullptr) override;

    // The caption area at the present size: the entry's caption rectangle moved for the size, or the default
    // look's caption bar without an entry.
    QRect CaptionRect() const;

protected:
    void LoadSkinEntry() override;
    void PaintBitmap(QImage &bitmap) override;
    void DrawDefaultImage(QImage &bitmap) override;
    void DrawSkinImage(QImage &bitmap) override;
    void AdjustClientRect(QRect &rect) const override;
    void CaptionChanged() override;
    void EnabledChanged() override { update(); }

    void mouseReleaseEvent(QMouseEvent *event) override;

    // The caption bar of the default look, and the part of it that takes clicks.
    QRect defaultCaptionRect() const;
    // The height of a rolled-up panel: the caption bar, or what lies outside the skin's client rectangle.
    int rolledUpHeight() const;
    // Glyph cell to draw: 2 when disabled with two cells, else 1.
    int glyphIndex() const;
    // Repaints and re-docks the children when the default look's geometry changed.
    void defaultLookChanged();

    // The panel entry's own data, copied by LoadSkinEntry (bgpictureindex is -1 without a panel entry).
    int m_bgPictureIndex = -1;
    QImage m_bgPicture;
    TRect m_captionRect;
    TAlignment m_alignment = taCenter;
    ControlFont m_skinFont;
    TRect m_checkImageRect;
    TRect m_uncheckImageRect;
    TRect m_markFrameRect;
    TRect m_frameRect;
    TRect m_frameTextRect;
    int m_frameLeftOffset = 0;
    int m_frameRightOffset = 0;

private:
    void drawDefaultCaption(QPainter &painter);
    // A caption's line: the glyph, then the text, placed in `area` by the alignment.
    struct CaptionLine {
        QImage glyph;
        int shift = 0; // from the line's left to the text
        QSize text;
        int total = 0;
        int left = 0;
    };
    CaptionLine captionLine(const QRect &area, TAlignment alignment, const QFont &font) const;
    void drawSkinCaption(QImage &bitmap);
    // The client piece of the skin tiled over the whole bitmap from its top-left corner.
    void tileClientPiece(QImage &bitmap);

    TbsSkinBorderStyle m_borderStyle = bvFrame;
    bool m_captionMode = false;
    int m_defaultCaptionHeight = 22;
    TAlignment m_defaultAlignment = taLeftJustify;
    bool m_checkedMode = false;
    bool m_checked = false;
    bool m_autoEnabledControls = true;
    bool m_rollUpMode = false;
    bool m_rollUpState = false;
    int m_realHeight = -1;
    TBitmap m_glyph;
    int m_numGlyphs = 1;
    int m_spacing = 2;
    // Children that were visible when the panel rolled up, shown again when it rolls down.
    std::vector<QPointer<QWidget>> m_rolledUpChildren;
    QSize m_savedMinimumSize;
    QSize m_savedMaximumSize;
};

// The bar along a window's bottom edge, holding status panels; it can show a size grip in its right corner.
class TbsSkinStatusBar : public TbsSkinPanel
{
    Q_OBJECT
public:
    explicit TbsSkinStatusBar(QWidget *parent = nullptr);

    bool SizeGrip() const { return m_sizeGrip; }
    void SetSizeGrip(bool value);
    // The skinned form hides the grip while its window is maximized.
    bool GripVisible() const { return m_gripVisible; }
    void SetGripVisible(bool value);

    // Binds this store to every windowed skin control directly on the bar too.
    void SetSkinData(TbsSkinData *value) override;

    // The grip's rectangle, empty while no grip is shown.
    QRect GripRect() const;

protected:
    void LoadSkinEntry() override;
    void DrawDefaultImage(QImage &bitmap) override;
    void DrawSkinImage(QImage &bitmap) override;
    void AdjustClientRect(QRect &rect) const override;

    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool gripShown() const { return m_sizeGrip && m_gripVisible; }
    void gripChanged();
    // Draws the grip over the bar: the skin's gripper picture, or diagonal line pairs in the given colours.
    void drawGrip(QImage &bitmap, const QColor &shadow, const QColor &highlight);

    TRect m_gripperRect;
    bool m_gripperTransparent = false;
    int m_gripperTransparentColor = 0;

    bool m_sizeGrip = false;
    bool m_gripVisible = true;
    // Sizing by hand where the window system does not size the window itself.
    bool m_gripDragging = false;
    QPoint m_gripStart;
    QSize m_gripStartSize;
};

} // namespace pixolo
