#pragma once

#include "skinctrls/ControlBase.h"
#include "skinctrls/ControlFont.h"
#include "skinctrls/SkinBinding.h"

namespace pixolo
{

enum TTextLayout : int { tlTop, tlCenter, tlBottom };

// The framework's windowless text label that takes only its font and colour from the skin. It is transparent
// from creation and, with AutoSize, fits itself to its text.
class TbsSkinStdLabel : public ControlBase<QWidget>, public SkinBoundControl
{
    Q_OBJECT
public:
    explicit TbsSkinStdLabel(QWidget *parent = nullptr);

    // Reloads the entry, fits the size with AutoSize, and repaints.
    void ApplySkin() override;

    bool UseSkinFont() const { return m_useSkinFont; }
    void SetUseSkinFont(bool value);
    bool UseSkinColor() const { return m_useSkinColor; }
    void SetUseSkinColor(bool value);
    const ControlFont &DefaultFont() const { return m_defaultFont; }
    void SetDefaultFont(const ControlFont &value);
    // The label's own font, used when UseSkinFont is off.
    const ControlFont &Font() const { return m_font; }
    void SetFont(const ControlFont &value);
    TColor Color() const { return m_color; }
    void SetColor(TColor value);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment value);
    TTextLayout Layout() const { return m_layout; }
    void SetLayout(TTextLayout value);
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool value);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool value);
    bool ShowAccelChar() const { return m_showAccelChar; }
    void SetShowAccelChar(bool value);

    // The font the text is drawn in now.
    ControlFont textFont() const;

protected:
    void CaptionChanged() override;
    // A windowless label keeps nothing between paints that a reload could free.
    void skinAboutToChange() override { }
    void paintEvent(QPaintEvent *event) override;

private:
    int textFlags() const;
    // The text's extent, an empty text measured as one blank.
    QRect measureText() const;
    void adjustBounds();
    void changed();

    bool m_useSkinFont = true;
    bool m_useSkinColor = true;
    ControlFont m_defaultFont = defaultFormFont();
    ControlFont m_font = defaultFormFont();
    TColor m_color = clBtnFace;
    bool m_transparent = true;
    TAlignment m_alignment = taLeftJustify;
    TTextLayout m_layout = tlTop;
    bool m_wordWrap = false;
    bool m_autoSize = true;
    bool m_showAccelChar = true;
};

} // namespace pixolo
