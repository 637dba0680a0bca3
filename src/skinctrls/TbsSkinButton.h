#pragma once

#include "platform/TBitmap.h"
#include "skinctrls/MorphTimer.h"
#include "skinctrls/TbsSkinControl.h"

#include <QPointer>

class QTimer;

namespace pixolo
{

enum TButtonLayout : int { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Where the glyph cell and the caption go inside a rectangle (see SkinButtonControl::layoutGlyphAndCaption).
struct GlyphCaptionLayout {
    QPoint glyph;
    QPoint text;
};

// Places a glyph cell of `glyph` size and a caption of `text` size in `area` by `layout`, `margin` (-1: centred)
// and `spacing`; `pressed` moves both by one pixel right and down.
GlyphCaptionLayout layoutGlyphAndCaption(
    const QRect &area, QSize glyph, QSize text, TButtonLayout layout, int margin, int spacing, bool pressed);

// What the push button and the tool button share: the down, hot and pressed states, grouping, the repeat timer,
// mouse handling, the glyph cells and the glyph-and-caption layout, and the default look.
class SkinButtonControl : public TbsSkinCustomControl
{
    Q_OBJECT
public:
    explicit SkinButtonControl(QWidget *parent = nullptr);

    const TBitmap &Glyph() const { return m_glyph; }
    void SetGlyph(const TBitmap &value);
    int NumGlyphs() const { return m_numGlyphs; }
    void SetNumGlyphs(int value);
    TButtonLayout Layout() const { return m_layout; }
    void SetLayout(TButtonLayout value);
    int Margin() const { return m_margin; }
    // Values below -1 are refused.
    void SetMargin(int value);
    int Spacing() const { return m_spacing; }
    void SetSpacing(int value);
    bool UseSkinSize() const { return m_useSkinSize; }
    void SetUseSkinSize(bool value)
    {
        m_useSkinSize = value;
        m_skin.invalidate(); // decides whether the entry's mask is taken
    }
    bool UseSkinFontColor() const { return m_useSkinFontColor; }
    void SetUseSkinFontColor(bool value);
    bool RepeatMode() const { return m_repeatMode; }
    void SetRepeatMode(bool value) { m_repeatMode = value; }
    int RepeatInterval() const { return m_repeatInterval; }
    void SetRepeatInterval(int value);
    int GroupIndex() const { return m_groupIndex; }
    virtual void SetGroupIndex(int value) { m_groupIndex = value; }
    bool AllowAllUp() const { return m_allowAllUp; }
    void SetAllowAllUp(bool value) { m_allowAllUp = value; }
    bool Down() const { return m_down; }
    // Repaints at once; a grouped button going down releases the down siblings of its group.
    void SetDown(bool value);

    // The pointer is over the button (or the button is highlighted as the default button).
    bool Hot() const { return m_hot; }
    // The left button went down on the button and is not yet released.
    bool Pressed() const { return m_pressed; }
    // Whether the button's image is the down look now.
    virtual bool drawnDown() const;
    // Whether the button's image is the hot (active) look now.
    virtual bool drawnActive() const { return m_hot; }

    // Where the button stands between its normal (0) and active (1) look while it morphs.
    double MorphFactor() const { return m_morphFactor; }
    // Whether state changes are shown as a morph: the store has effects on and the entry asks for it.
    virtual bool morphActive() const;
    // The frame of the running animation (0 when none runs).
    int AnimationFrame() const { return m_animateTimer ? m_animateFrame : 0; }

    void ApplySkin() override;

protected:
    // A Space let go on a button it took down: the button comes up and clicks (once, not for a repeat). `armed` is
    // the button's own "Space went down here"; false when the key is not the button's (`takesKeys` false, another
    // key).
    bool releaseSpace(QKeyEvent *event, bool takesKeys, bool &armed);
    // The image a skinned button shows, chosen by its state.
    enum class SkinState { Morph, Normal, Active, Down, Disabled, Bare };
    virtual SkinState skinState() const = 0;

    void LoadSkinEntry() override;
    void PaintBitmap(QImage &bitmap) override;
    void DrawDefaultImage(QImage &bitmap) override;
    // The push and tool buttons draw their states in PaintBitmap: the base skin image is not used.
    void DrawSkinImage(QImage &) override { }
    void EnabledChanged() override;
    void CaptionChanged() override { update(); }
    void MouseEnter() override;
    void MouseLeave() override;

    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

    // The press and release rules of both buttons; `OnMouseDown` and `OnMouseUp` fire around them as each
    // button orders it.
    void pressButton();
    void releaseButton();
    // Whether the pointer counts as over the button for the hover rules (the tool button ignores it while
    // disabled).
    virtual bool takesHover() const { return true; }
    // Whether leaving keeps the hot look (the default push button's highlight).
    virtual bool keepsHotOnLeave() const { return false; }
    // The caption as drawn (the tool button may hide it).
    virtual QString drawnCaption() const { return Caption(); }
    // Whether the default look leaves out edge and face while neither down nor hot.
    virtual bool flatLook() const { return false; }
    // Whether the default look paints no face at all while neither down nor hot.
    virtual bool transparentLook() const { return false; }

    void setHot(bool value);
    void startRepeat();
    void stopRepeat();
    // Whether the button counts as focused for the active look (the push button's focus).
    virtual bool focusedLook() const { return false; }
    // Whether a hover change shows: not while a push button's focus already keeps the active look.
    virtual bool hoverShows() const { return true; }
    // The pointer came or went, or the focus: run the animation and morph (or repaint) toward the new look.
    void lookChanged(bool forward);
    // Morphs toward the hot or focused look, or its absence; without active morphing, jumps there.
    void startMorph();
    void stopMorph();
    void morphStep();
    void startAnimation(bool forward);
    void stopAnimation();
    void animationStep();

    // Draws the state image `rect` into `bitmap` at the button's size with glyph and caption, `active` and
    // `down` choosing colours, glyph cell and pressed offset.
    void drawState(QImage &bitmap, const TRect &rect, bool active, bool down);
    // Colours and focus mark of the skinned look (the push button's focus rectangle).
    virtual void drawFocusMark(QPainter &, const QRect &) { }

    // The button entry's data, copied by LoadSkinEntry.
    ControlFont m_skinFont;
    TColor m_activeFontColor = 0;
    TColor m_downFontColor = 0;
    TColor m_disabledFontColor = 0;
    TRect m_activeSkinRect;
    TRect m_downSkinRect;
    TRect m_disabledSkinRect;
    bool m_morphing = false;
    TMorphKind m_morphKind = mkDefault;
    TRect m_animateSkinRect;
    int m_frameCount = 0;
    int m_animateInterval = 25;
    bool m_showFocus = false;
    // Glyph cell to draw by the cell rule, for the look drawn.
    int glyphIndex(bool active, bool down) const;
    // Draws glyph and caption into `area` in `font` and `color`.
    void drawGlyphAndCaption(
        QPainter &painter, const QRect &area, const QFont &font, const QColor &color, bool active, bool down);

private:
    void releaseGroup();

    TBitmap m_glyph;
    int m_numGlyphs = 1;
    TButtonLayout m_layout = blGlyphLeft;
    int m_margin = -1;
    int m_spacing = 1;
    bool m_useSkinSize = true;
    bool m_useSkinFontColor = true;
    bool m_repeatMode = false;
    int m_repeatInterval = 100;
    int m_groupIndex = 0;
    bool m_allowAllUp = false;
    bool m_down = false;
    bool m_hot = false;
    bool m_pressed = false;
    bool m_wentDownAtPress = false;
    QTimer *m_repeatTimer = nullptr;
    double m_morphFactor = 0;
    MorphTimer m_morphTimer;
    int m_animateFrame = 0;
    bool m_animateForward = true;
    QTimer *m_animateTimer = nullptr;
};

// A push button: takes the keyboard focus, answers space and Enter, and can be the window's default (Enter) or
// cancel (Escape) button.
class TbsSkinButton : public SkinButtonControl
{
    Q_OBJECT
public:
    explicit TbsSkinButton(QWidget *parent = nullptr);
    ~TbsSkinButton() override;

    bool CanFocused() const { return m_canFocused; }
    // Also sets TabStop.
    void SetCanFocused(bool value);
    // A non-zero group also turns CanFocused off.
    void SetGroupIndex(int value) override;
    bool Default() const { return m_default; }
    void SetDefault(bool value);
    bool Cancel() const { return m_cancel; }
    void SetCancel(bool value) { m_cancel = value; }
    int ModalResult() const { return m_modalResult; }
    void SetModalResult(int value) { m_modalResult = value; }
    // This button answers Enter on its window.
    bool DialogKeyFlag() const { return m_dialogKey; }

    // Sets the window's modal result, then fires OnClick.
    void Click() override;

    bool drawnDown() const override;
    bool drawnActive() const override;

protected:
    SkinState skinState() const override;
    bool focusedLook() const override { return m_canFocused && hasFocus(); }
    bool hoverShows() const override { return !hasFocus() || Down(); }
    void drawFocusMark(QPainter &painter, const QRect &textArea) override;
    bool keepsHotOnLeave() const override;
    void AcceleratorPressed() override;

    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool KeyDown(QKeyEvent *event) override;
    bool KeyUp(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    // Takes the focus for a mouse press; false when it did not arrive.
    bool takeFocusForPress();
    void focusChanged(QWidget *now);
    void watchWindow();
    bool canTakeFocus() const;

    bool m_canFocused = true;
    bool m_default = false;
    bool m_cancel = false;
    int m_modalResult = 0;
    bool m_dialogKey = false;
    bool m_spaceDown = false;
    QPointer<QWidget> m_watchedWindow;
    QMetaObject::Connection m_focusWatch; // the application's focus changes, while the button is whole
};

// A tool button: windowless, never focused, optionally flat or transparent over its parent.
class TbsSkinSpeedButton : public SkinButtonControl
{
    Q_OBJECT
public:
    explicit TbsSkinSpeedButton(QWidget *parent = nullptr);

    bool ShowCaption() const { return m_showCaption; }
    void SetShowCaption(bool value);
    int WidthWithCaption() const { return m_widthWithCaption; }
    void SetWidthWithCaption(int value) { m_widthWithCaption = value; }
    int WidthWithoutCaption() const { return m_widthWithoutCaption; }
    void SetWidthWithoutCaption(int value) { m_widthWithoutCaption = value; }
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value);
    bool Flat() const { return m_flat; }
    // Also sets Transparent to the same value.
    void SetFlat(bool value);
    int ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int value) { m_imageIndex = value; }

    // Whether the button takes the keyboard focus: then it has a place in its window's tab order (the Tab key
    // reaches it, a click does not move the focus), shows the focus with its active look and a dotted mark, and
    // Space or Enter clicks it. Off by default: a tool button is windowless.
    bool takesFocus() const { return !m_windowless; }
    void setTakesFocus(bool value);

    bool morphActive() const override { return !m_transparent && SkinButtonControl::morphActive(); }

protected:
    SkinState skinState() const override;
    bool takesHover() const override { return isEnabled(); }
    QString drawnCaption() const override { return m_showCaption ? Caption() : QString(); }
    bool flatLook() const override { return m_flat; }
    bool transparentLook() const override { return m_transparent; }
    void AcceleratorPressed() override;
    void drawFocusMark(QPainter &painter, const QRect &textArea) override;
    bool KeyDown(QKeyEvent *event) override;
    bool KeyUp(QKeyEvent *event) override;

    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    bool m_spaceDown = false;
    bool m_showCaption = true;
    int m_widthWithCaption = 0;
    int m_widthWithoutCaption = 0;
    bool m_transparent = false;
    bool m_flat = false;
    int m_imageIndex = 0;
};

} // namespace pixolo
