#pragma once

#include "skinctrls/ControlBase.h"
#include "skinctrls/ControlFont.h"
#include "skinctrls/SkinBinding.h"

#include <QLineEdit>
#include <QMenu>
#include <QPointer>

namespace pixolo
{

enum TEditCharCase : int { ecNormal, ecUpperCase, ecLowerCase };

// The framework's one-line edit with what the skinned edit adds to it: a transparent mode (the control paints
// the background under the text itself), Enter and Escape handed on to the window as dialog keys, and a context
// menu of its own. Typing, caret, selection, clipboard and read-only protection are the native edit's.
class TbsCustomEdit : public ControlBase<QLineEdit>
{
    Q_OBJECT
public:
    explicit TbsCustomEdit(QWidget *parent = nullptr);
    ~TbsCustomEdit() override;

    QString Text() const { return text(); }
    void SetText(const QString &value);
    QString EditMask() const { return inputMask(); }
    void SetEditMask(const QString &value) { setInputMask(value); }
    // 0 means no limit.
    int MaxLength() const { return m_maxLength; }
    void SetMaxLength(int value);
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool value) { setReadOnly(value); }
    // Gaining the focus selects the whole text.
    bool AutoSelect() const { return m_autoSelect; }
    void SetAutoSelect(bool value) { m_autoSelect = value; }
    TEditCharCase CharCase() const { return m_charCase; }
    void SetCharCase(TEditCharCase value);
    // The selection is not shown while the edit has no focus.
    bool HideSelection() const { return m_hideSelection; }
    void SetHideSelection(bool value);
    // A non-null character makes the edit a password edit.
    QChar PasswordChar() const { return m_passwordChar; }
    void SetPasswordChar(QChar value);
    // The edit's own font; a control with a skin binding may replace it.
    const ControlFont &Font() const { return m_font; }
    void SetFont(const ControlFont &value);

    // The context menu the edit built last, when no PopupMenu is set (none before the first right click, and none
    // again once the skinned menu ran one of its items). Its items are shown as the skinned menu of the window
    // when the window has one, else as the framework's menu.
    QMenu *ContextMenu() const { return m_contextMenu; }

protected:
    // Paints what lies under the text; the edit's text is drawn over it.
    virtual void paintBackground(QPainter &) { }
    // The caption of a context menu item ("Undo", "Cut", ...) under its key ("EDIT_UNDO", ...).
    virtual QString menuCaption(const char *key, const QString &builtIn) const;
    // The font changed (the edit window takes it already).
    virtual void FontChanged() { }
    // Gives the native edit the font and its colour, a transparent background and the selection colours.
    void updateLook();

    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    QString cased(const QString &text) const;
    void buildContextMenu();

    int m_maxLength = 0;
    bool m_autoSelect = true;
    TEditCharCase m_charCase = ecNormal;
    bool m_hideSelection = true;
    QChar m_passwordChar;
    QPointer<QMenu> m_contextMenu;
    ControlFont m_font;
};

// The edit bound to a skin data store: a frame drawn around the text (two one-pixel lines and the default colour
// without a skin), optional button at the right end, the default font and size without a skin.
class TbsSkinCustomEdit : public TbsCustomEdit, public SkinBoundControl
{
    Q_OBJECT
public:
    explicit TbsSkinCustomEdit(QWidget *parent = nullptr);

    void ApplySkin() override;

    bool UseSkinFont() const { return m_useSkinFont; }
    void SetUseSkinFont(bool value);
    const ControlFont &DefaultFont() const { return m_defaultFont; }
    void SetDefaultFont(const ControlFont &value);
    TColor DefaultColor() const { return m_defaultColor; }
    void SetDefaultColor(TColor value);
    int DefaultWidth() const { return m_defaultWidth; }
    void SetDefaultWidth(int value);
    int DefaultHeight() const { return m_defaultHeight; }
    void SetDefaultHeight(int value);
    bool ButtonMode() const { return m_buttonMode; }
    void SetButtonMode(bool value);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment value);

    TNotifyEvent OnButtonClick;

    // Where the native edit's text goes, and the button (empty without button mode), in control coordinates.
    QRect TextRect() const;
    QRect ButtonRect() const;
    // The height that fits the font: its text height and the frame.
    int FittedHeight() const;
    bool Hot() const { return m_hot; }
    bool ButtonHot() const { return m_buttonHot; }
    bool ButtonPressed() const { return m_buttonPressed; }

    void SetBounds(int left, int top, int width, int height) override;

    // The frame image at the present size and state (the skin's edit image, hot or focused or not), or a null
    // image while the edit draws its default look.
    QImage FrameImage() const;

protected:
    void LoadSkinEntry() override;
    void paintBackground(QPainter &painter) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void FontChanged() override;
    void EnabledChanged() override;
    void MouseEnter() override;
    void MouseLeave() override;

    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void updateMargins();
    void setButtonHot(bool value);
    // Whether the edit draws its skinned look: it has an edit entry with a picture.
    bool skinned() const { return m_editEntry && !m_picture.isNull(); }
    // The text colour follows hover and focus: the entry's active colour while hot or focused.
    void updateSkinColor();

    // The edit entry's data, copied by LoadSkinEntry.
    bool m_editEntry = false;
    QImage m_picture;
    TRect m_skinRect;
    TRect m_activeSkinRect;
    TRect m_clientRect;
    int m_leftWidth = 0;
    int m_rightWidth = 0;
    bool m_stretchEffect = false;
    ControlFont m_skinFont;
    TColor m_activeFontColor = 0;
    TColor m_disabledFontColor = 0;
    TRect m_buttonRect;
    TRect m_activeButtonRect;
    TRect m_downButtonRect;
    TRect m_unenabledButtonRect;

    bool m_useSkinFont = true;
    ControlFont m_defaultFont { QStringLiteral("Arial"), 14, 0, clBlack };
    TColor m_defaultColor = clWindow;
    int m_defaultWidth = 0;
    int m_defaultHeight = 0;
    bool m_buttonMode = false;
    TAlignment m_alignment = taLeftJustify;
    bool m_hot = false;
    bool m_buttonHot = false;
    bool m_buttonPressed = false;
};

// The skinned edit with its published properties.
class TbsSkinEdit final : public TbsSkinCustomEdit
{
    Q_OBJECT
public:
    explicit TbsSkinEdit(QWidget *parent = nullptr);
};

} // namespace pixolo
