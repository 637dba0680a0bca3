#pragma once

#include "platform/TBitmap.h"
#include "skinctrls/TbsSkinPanel.h"

namespace pixolo
{

// A framed one-line label drawn on a skin background (a button-face plate with a one-pixel edge without one).
class TbsSkinLabel : public TbsSkinCustomControl
{
    Q_OBJECT
public:
    explicit TbsSkinLabel(QWidget *parent = nullptr);

    bool UseSkinSize() const { return m_useSkinSize; }
    void SetUseSkinSize(bool value) { m_useSkinSize = value; }
    bool UseSkinFontColor() const { return m_useSkinFontColor; }
    void SetUseSkinFontColor(bool value);
    TbsSkinBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TbsSkinBorderStyle value);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment value);
    bool AutoSize() const { return m_autoSize; }
    // Switching it on fits the width to the text.
    void SetAutoSize(bool value);

    // The font the text is drawn in now: the entry's with UseSkinFont, else DefaultFont; its colour the entry's
    // unless UseSkinFontColor is off.
    ControlFont textFont() const;

protected:
    void LoadSkinEntry() override;
    void CalcSkinSize(int &width, int &height) override;
    void DrawDefaultImage(QImage &bitmap) override;
    void DrawSkinImage(QImage &bitmap) override;
    void UpdateRegion() override;
    void CaptionChanged() override;
    // A label that runs a command (a link) and takes the focus runs it with Enter or Space.
    bool KeyDown(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

    // The room the text lacks in the present width (negative when there is room to spare).
    virtual int missingRoom() const;
    // Draws the caption in `area` in the default look's font and colour (grey when disabled); returns where the
    // text went.
    QRect drawDefaultText(QPainter &painter, const QRect &area);
    // Draws the caption in `area` in textFont(); returns where the text went.
    QRect drawText(QPainter &painter, const QRect &area);
    // The dotted focus mark around the text that went to `shown`, while the label has the focus.
    void drawFocusMark(QPainter &painter, const QRect &shown, const QColor &color);
    // The frame of the skinned look at the present size; `textArea` receives where the text goes.
    void drawSkinFrame(QImage &bitmap, QRect &textArea);
    // Grows or shrinks the width by the missing room, unless docked to top, bottom or client.
    void fitWidth();

    ControlFont m_skinFont;

private:
    bool m_useSkinSize = true;
    bool m_useSkinFontColor = true;
    TbsSkinBorderStyle m_borderStyle = bvFrame;
    TAlignment m_alignment = taLeftJustify;
    bool m_autoSize = false;
};

// A text cell of a status bar, with an optional glyph before the text.
class TbsSkinStatusPanel : public TbsSkinLabel
{
    Q_OBJECT
public:
    explicit TbsSkinStatusPanel(QWidget *parent = nullptr);

    const TBitmap &Glyph() const { return m_glyph; }
    void SetGlyph(const TBitmap &value);
    int NumGlyphs() const { return m_numGlyphs; }
    void SetNumGlyphs(int value);

protected:
    void DrawDefaultImage(QImage &bitmap) override;
    void DrawSkinImage(QImage &bitmap) override;
    int missingRoom() const override;

private:
    int glyphIndex() const { return !isEnabled() && m_numGlyphs == 2 ? 2 : 1; }
    int glyphShift() const;

    TBitmap m_glyph;
    int m_numGlyphs = 1;
};

} // namespace pixolo
