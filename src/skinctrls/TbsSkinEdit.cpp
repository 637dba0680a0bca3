#include "skinctrls/TbsSkinEdit.h"

#include "skin/ControlMenu.h"
#include "skin/SkinMessage.h"
#include "skin/SkinPaint.h"
#include "skin/TbsDataSkinControl.h"
#include "skinctrls/DefaultLook.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QPainter>

namespace pixolo
{

namespace
{

// Fill colours of the default look's button (0x00BBGGRR).
constexpr TColor s_downFace = 11899781;
constexpr TColor s_hotFace = 13811126;

} // namespace

TbsCustomEdit::TbsCustomEdit(QWidget *parent)
    : ControlBase<QLineEdit>(parent)
{
    setFrame(false);
    setMaxLength(32767);
    updateLook();
    connect(this, &QLineEdit::textEdited, this, [this](const QString &text) {
        const QString wanted = cased(text);
        if (wanted != text) {
            const int cursor = cursorPosition();
            setText(wanted);
            setCursorPosition(cursor);
        }
    });
}

TbsCustomEdit::~TbsCustomEdit() = default;

QString TbsCustomEdit::cased(const QString &text) const
{
    switch (m_charCase) {
    case ecUpperCase:
        return text.toUpper();
    case ecLowerCase:
        return text.toLower();
    case ecNormal:
        break;
    }
    return text;
}

void TbsCustomEdit::SetText(const QString &value)
{
    setText(cased(value));
}

void TbsCustomEdit::SetMaxLength(int value)
{
    m_maxLength = std::max(value, 0);
    setMaxLength(m_maxLength == 0 ? 32767 : m_maxLength);
}

void TbsCustomEdit::SetCharCase(TEditCharCase value)
{
    m_charCase = value;
    setText(cased(text()));
}

void TbsCustomEdit::SetHideSelection(bool value)
{
    m_hideSelection = value;
    updateLook();
}

void TbsCustomEdit::SetPasswordChar(QChar value)
{
    m_passwordChar = value;
    setEchoMode(value.isNull() ? QLineEdit::Normal : QLineEdit::Password);
}

void TbsCustomEdit::SetFont(const ControlFont &value)
{
    m_font = value;
    updateLook();
    FontChanged();
}

void TbsCustomEdit::updateLook()
{
    setFont(m_font.toQFont());
    QPalette look = palette();
    const QColor text = m_font.color();
    // The control paints the background itself; the native edit draws only the text over it.
    look.setColor(QPalette::Base, Qt::transparent);
    look.setColor(QPalette::Active, QPalette::Text, text);
    look.setColor(QPalette::Inactive, QPalette::Text, text);
    look.setColor(QPalette::Disabled, QPalette::Text, ColorToQColor(clGrayText));
    const QPalette app = QApplication::palette();
    look.setColor(QPalette::Inactive, QPalette::Highlight,
        m_hideSelection ? QColor(Qt::transparent) : app.color(QPalette::Inactive, QPalette::Highlight));
    look.setColor(QPalette::Inactive, QPalette::HighlightedText,
        m_hideSelection ? text : app.color(QPalette::Inactive, QPalette::HighlightedText));
    setPalette(look);
}

void TbsCustomEdit::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        paintBackground(painter);
    }
    ControlBase<QLineEdit>::paintEvent(event);
}

void TbsCustomEdit::focusInEvent(QFocusEvent *event)
{
    ControlBase<QLineEdit>::focusInEvent(event);
    if (m_autoSelect && isControlFocusChange(event->reason())) {
        selectAll();
    }
}

QString TbsCustomEdit::menuCaption(const char *, const QString &builtIn) const
{
    return builtIn;
}

void TbsCustomEdit::buildContextMenu()
{
    if (m_contextMenu) {
        m_contextMenu->deleteLater();
    }
    auto *menu = new QMenu(this);
    m_contextMenu = menu;
    const bool selection = hasSelectedText();
    const bool editable = !isReadOnly();
    const auto add = [&](const char *key, const QString &builtIn, bool enabled, auto action) {
        QAction *item = menu->addAction(menuCaption(key, builtIn));
        item->setEnabled(enabled);
        connect(item, &QAction::triggered, this, action);
    };
    add("EDIT_UNDO", QStringLiteral("Undo"), isUndoAvailable() && editable, [this] { undo(); });
    menu->addSeparator();
    add("EDIT_CUT", QStringLiteral("Cut"), selection && editable, [this] { cut(); });
    add("EDIT_COPY", QStringLiteral("Copy"), selection, [this] { copy(); });
    const bool clipboardText = !QApplication::clipboard()->text().isEmpty();
    add("EDIT_PASTE", QStringLiteral("Paste"), clipboardText && editable, [this] { paste(); });
    add("EDIT_DELETE", QStringLiteral("Delete"), selection && editable, [this] {
        if (hasSelectedText()) {
            del();
        }
    });
    menu->addSeparator();
    add("EDIT_SELECTALL", QStringLiteral("Select All"), selectedText() != text(), [this] { selectAll(); });
}

void TbsCustomEdit::contextMenuEvent(QContextMenuEvent *event)
{
    if (PopupMenu()) {
        ControlBase<QLineEdit>::contextMenuEvent(event);
        return;
    }
    buildContextMenu();
    const QPoint at = contextMenuPosition(event);
    // The skinned menu of the window when it has one; the framework's own menu otherwise.
    if (!popupControlMenu(this, m_contextMenu, at)) {
        m_contextMenu->popup(at);
    }
}

bool TbsCustomEdit::event(QEvent *event)
{
    if (event->type() == SkinMessageEvent::eventType()
        && static_cast<SkinMessageEvent *>(event)->Msg() == SKIN_MSG_MENU_COMMAND) {
        // The skinned menu ran one of the items: the menu has done its work.
        if (m_contextMenu) {
            m_contextMenu->deleteLater();
            m_contextMenu = nullptr;
        }
        return true;
    }
    return ControlBase<QLineEdit>::event(event);
}

TbsSkinCustomEdit::TbsSkinCustomEdit(QWidget *parent)
    : TbsCustomEdit(parent)
    , SkinBoundControl(QStringLiteral("edit"))
{
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    SetFont(m_defaultFont);
    resize(width(), 20);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    updateMargins();
}

void TbsSkinCustomEdit::LoadSkinEntry()
{
    SkinBoundControl::LoadSkinEntry();
    const auto *entry = dynamic_cast<const TbsDataSkinEditControl *>(m_skin.entry());
    m_editEntry = entry != nullptr;
    if (!entry) {
        m_picture = QImage();
        return;
    }
    m_picture = m_skin.picture(entry->pictureindex);
    m_skinRect = entry->skinrect;
    m_activeSkinRect = IsNullRect(entry->activeskinrect) ? entry->skinrect : entry->activeskinrect;
    m_leftWidth = entry->lefttoppoint.X;
    m_rightWidth = RectWidth(entry->skinrect) - entry->righttoppoint.X;
    m_clientRect = entry->clientrect;
    m_stretchEffect = entry->stretcheffect;
    m_skinFont = ControlFont { entry->fontname, entry->fontheight, entry->fontstyle, entry->fontcolor };
    m_activeFontColor = entry->activefontcolor;
    m_disabledFontColor = entry->disabledfontcolor;
    m_buttonRect = entry->buttonrect;
    m_activeButtonRect = entry->activebuttonrect;
    m_downButtonRect = IsNullRect(entry->downbuttonrect) ? entry->activebuttonrect : entry->downbuttonrect;
    m_unenabledButtonRect = entry->unenabledbuttonrect;
}

void TbsSkinCustomEdit::updateSkinColor()
{
    if (!skinned()) {
        return;
    }
    ControlFont font = Font();
    font.Color = m_hot || hasFocus() ? m_activeFontColor : m_skinFont.Color;
    if (!(font == Font())) {
        SetFont(font);
    }
    // Disabled text in the skin's colour; grey text when the skin gives neither colour.
    QPalette look = palette();
    const bool noColours = m_disabledFontColor == 0 && m_skinFont.Color == 0;
    look.setColor(QPalette::Disabled, QPalette::Text, ColorToQColor(noColours ? clGrayText : m_disabledFontColor));
    setPalette(look);
    update();
}

void TbsSkinCustomEdit::focusInEvent(QFocusEvent *event)
{
    TbsCustomEdit::focusInEvent(event);
    updateSkinColor();
}

void TbsSkinCustomEdit::focusOutEvent(QFocusEvent *event)
{
    TbsCustomEdit::focusOutEvent(event);
    updateSkinColor();
}

void TbsSkinCustomEdit::ApplySkin()
{
    LoadSkinEntry();
    if (skinned()) {
        ControlFont font = m_useSkinFont ? m_skinFont : m_defaultFont;
        font.Color = m_hot || hasFocus() ? m_activeFontColor : m_skinFont.Color;
        SetFont(font);
        updateSkinColor();
        // With the skin's font the edit is as high as its skin; without it, as high as its font needs.
        SetBounds(x(), y(), width(), m_useSkinFont ? RectHeight(m_skinRect) : FittedHeight());
        updateMargins();
        update();
        return;
    }
    if (SkinIndex() == -1) {
        SetFont(m_defaultFont);
        const int width = m_defaultWidth > 0 ? m_defaultWidth : this->width();
        int height = m_defaultHeight > 0 ? m_defaultHeight : this->height();
        if (!m_useSkinFont) {
            height = FittedHeight();
        }
        setGeometry(x(), y(), width, height);
    }
    update();
}

void TbsSkinCustomEdit::SetUseSkinFont(bool value)
{
    m_useSkinFont = value;
    if (!value) {
        SetBounds(x(), y(), width(), FittedHeight());
    }
}

void TbsSkinCustomEdit::SetDefaultFont(const ControlFont &value)
{
    m_defaultFont = value;
    if (SkinIndex() == -1) {
        SetFont(value);
    }
}

void TbsSkinCustomEdit::SetDefaultColor(TColor value)
{
    if (m_defaultColor != value) {
        m_defaultColor = value;
        update();
    }
}

void TbsSkinCustomEdit::SetDefaultWidth(int value)
{
    m_defaultWidth = value;
    if (SkinIndex() == -1 && value > 0) {
        SetBounds(x(), y(), value, height());
    }
}

void TbsSkinCustomEdit::SetDefaultHeight(int value)
{
    m_defaultHeight = value;
    if (SkinIndex() != -1) {
        return;
    }
    if (!m_useSkinFont) {
        SetBounds(x(), y(), width(), FittedHeight());
    } else if (value > 0) {
        SetBounds(x(), y(), width(), value);
    }
}

void TbsSkinCustomEdit::SetButtonMode(bool value)
{
    if (m_buttonMode == value) {
        return;
    }
    m_buttonMode = value;
    m_buttonHot = false;
    m_buttonPressed = false;
    setMouseTracking(value);
    updateMargins();
    update();
}

void TbsSkinCustomEdit::SetAlignment(TAlignment value)
{
    m_alignment = value;
    const Qt::Alignment horizontal = value == taRightJustify ? Qt::AlignRight
        : value == taCenter                                  ? Qt::AlignHCenter
                                                             : Qt::AlignLeft;
    setAlignment(horizontal | Qt::AlignVCenter);
}

QRect TbsSkinCustomEdit::ButtonRect() const
{
    if (!m_buttonMode) {
        return QRect();
    }
    if (!skinned()) {
        return rectLTRB(width() - height(), 0, width(), height());
    }
    TRect button = m_buttonRect;
    if (button.Left >= RectWidth(m_skinRect) - m_rightWidth) {
        button = offsetRect(button, width() - RectWidth(m_skinRect), 0);
    }
    if (!m_useSkinFont) {
        button.Bottom += height() - RectHeight(m_skinRect);
    }
    return toQRect(button);
}

QRect TbsSkinCustomEdit::TextRect() const
{
    if (!skinned()) {
        const int right = m_buttonMode ? width() - height() : width();
        return rectLTRB(2, 2, right - 2, height() - 2);
    }
    TRect text = m_clientRect;
    text.Right += width() - RectWidth(m_skinRect);
    if (!m_useSkinFont) {
        text.Bottom += height() - RectHeight(m_skinRect);
    }
    return toQRect(text);
}

int TbsSkinCustomEdit::FittedHeight() const
{
    const int frame = skinned() ? RectHeight(m_skinRect) - RectHeight(m_clientRect) : 4;
    return QFontMetrics(font()).height() + frame;
}

QImage TbsSkinCustomEdit::FrameImage() const
{
    if (!skinned()) {
        return {};
    }
    const TRect &rect = m_hot || hasFocus() ? m_activeSkinRect : m_skinRect;
    QImage frame = CreateHSkinImage(m_leftWidth, m_rightWidth, m_picture, rect, width(), m_stretchEffect);
    if (frame.isNull() || frame.height() == height()) {
        return frame;
    }
    // Built at the skin height, then stretched to the edit's own height.
    QImage sized(size(), QImage::Format_RGB32);
    sized.fill(Qt::black);
    stretch(sized, sized.rect(), frame, frame.rect());
    return sized;
}

void TbsSkinCustomEdit::updateMargins()
{
    // The native edit's text area is the text rectangle with a 2-pixel left margin inside it.
    const QRect text = TextRect();
    setTextMargins(
        text.left() + 2, text.top(), width() - (text.left() + text.width()), height() - (text.top() + text.height()));
}

void TbsSkinCustomEdit::SetBounds(int left, int top, int width, int height)
{
    ensureSkinEntry();
    if ((width != this->width() || height != this->height()) && !(!skinned() && m_useSkinFont)) {
        height = m_useSkinFont ? RectHeight(m_skinRect) : FittedHeight();
    }
    TbsCustomEdit::SetBounds(left, top, width, height);
}

void TbsSkinCustomEdit::FontChanged()
{
    if (!m_useSkinFont) {
        SetBounds(x(), y(), width(), FittedHeight());
    }
}

void TbsSkinCustomEdit::resizeEvent(QResizeEvent *event)
{
    TbsCustomEdit::resizeEvent(event);
    updateMargins();
    update();
}

void TbsSkinCustomEdit::EnabledChanged()
{
    update();
}

void TbsSkinCustomEdit::MouseEnter()
{
    m_hot = true;
    updateSkinColor();
    TbsCustomEdit::MouseEnter();
}

void TbsSkinCustomEdit::MouseLeave()
{
    m_hot = false;
    updateSkinColor();
    if (m_buttonHot || m_buttonPressed) {
        m_buttonHot = false;
        m_buttonPressed = false;
        update();
    }
    TbsCustomEdit::MouseLeave();
}

void TbsSkinCustomEdit::setButtonHot(bool value)
{
    if (m_buttonHot != value) {
        m_buttonHot = value;
        update();
    }
}

void TbsSkinCustomEdit::paintBackground(QPainter &painter)
{
    ensureSkinEntry();
    if (skinned()) {
        painter.drawImage(0, 0, FrameImage()); // the frame composed off-screen, the text goes over it
        if (!m_buttonMode) {
            return;
        }
        const TRect &look = !isEnabled() && !IsNullRect(m_unenabledButtonRect) ? m_unenabledButtonRect
            : m_buttonPressed && m_buttonHot                                   ? m_downButtonRect
            : m_buttonHot                                                      ? m_activeButtonRect
                                                                               : TRect();
        if (!IsNullRect(look)) {
            stretch(painter, ButtonRect(), m_picture, toQRect(look));
        }
        return;
    }
    const QRect frame = rectLTRB(0, 0, m_buttonMode ? width() - height() : width(), height());
    painter.fillRect(frame, ColorToQColor(m_defaultColor));
    drawOutline(painter, frame, ColorToQColor(clBtnShadow));
    drawOutline(painter, frame.adjusted(1, 1, -1, -1), ColorToQColor(clBtnFace));
    if (!m_buttonMode) {
        return;
    }
    const QRect button = ButtonRect();
    if (m_buttonHot) {
        painter.fillRect(button, ColorToQColor(m_buttonPressed ? s_downFace : s_hotFace));
        drawOutline(painter, button, ColorToQColor(clNavy));
    } else {
        painter.fillRect(button, ColorToQColor(clBtnFace));
        drawOutline(painter, button, ColorToQColor(clBtnShadow));
    }
    // Three dots: the button opens something.
    const QPoint centre = button.center() + (m_buttonPressed && m_buttonHot ? QPoint(1, 1) : QPoint());
    const QColor dots = ColorToQColor(isEnabled() ? clBtnText : clBtnShadow);
    for (int dx : { -4, 0, 4 }) {
        painter.fillRect(centre.x() + dx - 1, centre.y(), 2, 2, dots);
    }
}

void TbsSkinCustomEdit::mousePressEvent(QMouseEvent *event)
{
    if (m_buttonMode && ButtonRect().contains(event->position().toPoint())) {
        if (event->button() == Qt::LeftButton) {
            m_buttonPressed = true;
            m_buttonHot = true;
            update();
        }
        return;
    }
    TbsCustomEdit::mousePressEvent(event);
}

void TbsSkinCustomEdit::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (m_buttonMode && ButtonRect().contains(event->position().toPoint())) {
        mousePressEvent(event);
        return;
    }
    TbsCustomEdit::mouseDoubleClickEvent(event);
}

void TbsSkinCustomEdit::mouseMoveEvent(QMouseEvent *event)
{
    if (m_buttonMode) {
        const bool overButton = ButtonRect().contains(event->position().toPoint());
        setButtonHot(overButton);
        setCursor(overButton ? Qt::ArrowCursor : Qt::IBeamCursor);
        if (m_buttonPressed) {
            return;
        }
    }
    TbsCustomEdit::mouseMoveEvent(event);
}

void TbsSkinCustomEdit::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_buttonPressed || event->button() != Qt::LeftButton) {
        TbsCustomEdit::mouseReleaseEvent(event);
        return;
    }
    m_buttonPressed = false;
    update();
    if (!ButtonRect().contains(event->position().toPoint())) {
        return;
    }
    if (!hasFocus()) {
        setFocus(Qt::MouseFocusReason);
    }
    fire(OnButtonClick);
}

TbsSkinEdit::TbsSkinEdit(QWidget *parent)
    : TbsSkinCustomEdit(parent)
{
}

} // namespace pixolo
