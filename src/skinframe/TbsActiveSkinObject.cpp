#include "skinframe/TbsActiveSkinObject.h"

#include "skin/SkinGlyphs.h"
#include "skin/SkinPaint.h"
#include "skin/TbsDataSkinObject.h"
#include "skin/TbsEffectBmp.h"
#include "skin/TbsSkinData.h"
#include "skinframe/TbsSkinCaptionObject.h"
#include "skinframe/TbsSkinForm.h"

#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace pixolo
{

namespace
{

// The plain look's colours (0x00BBGGRR): navy frame, and the fills while pressed and while hot.
constexpr int s_plainFrameColor = 8388608;
constexpr int s_plainDownColor = 11899781;
constexpr int s_plainHotColor = 13811126;

template <class Data> const Data *entryAs(const TbsDataSkinObject *data)
{
    return dynamic_cast<const Data *>(data);
}

QRect anchorOnScreen(const TbsSkinForm &form, const TRect &rect)
{
    const QWidget *window = form.Form();
    return toQRect(rect).translated(window->mapToGlobal(QPoint(0, 0)));
}

// What a frame object's command does to its window; the menu commands are the object's own.
void runWindowCommand(TbsSkinForm &form, int command)
{
    switch (command) {
    case cmClose:
        form.CloseForm();
        break;
    case cmMaximize:
        form.SetSkinWindowState(form.SkinWindowState() == wsMaximized ? wsNormal : wsMaximized);
        break;
    case cmMinimize:
        if (form.AlwaysMinimizeToTray()) {
            form.states().MinimizeToTray();
        } else {
            form.SetSkinWindowState(form.SkinWindowState() == wsMinimized ? wsNormal : wsMinimized);
        }
        break;
    case cmRollUp:
        form.SetRollUpState(!form.RollUpState());
        break;
    case cmMinimizeToTray:
        form.states().MinimizeToTray();
        break;
    default:
        break;
    }
}

} // namespace

// --- TbsActiveSkinObject --------------------------------------------------------------------------------------

TbsActiveSkinObject::TbsActiveSkinObject(TbsSkinForm &form, const TbsDataSkinObject *data)
    : m_form(form)
    , m_store(form.SkinData())
{
    if (!data) {
        return;
    }
    IDName = data->IDName;
    Hint = data->hint;
    skinrectinapicture = data->skinrectinapicture;
    skinrect = data->skinrect;
    activeskinrect = data->activeskinrect;
    inactiveskinrect = data->inactiveskinrect;
    morphing = data->morphing;
    morphkind = data->morphkind;
    if (m_store) {
        if (const TBitmap *picture = m_store->ActivePicture(data->activepictureindex)) {
            m_picture = picture->toRgb32();
        }
    }
    if (m_picture.isNull()) {
        activeskinrect = NullRect();
        inactiveskinrect = NullRect();
    }
    if (IsNullRect(activeskinrect)) {
        morphing = false;
    }
    ObjectRect = skinrect;
}

TbsActiveSkinObject::~TbsActiveSkinObject() = default;

bool TbsActiveSkinObject::MorphingInEffect() const
{
    return morphing && m_store && !m_store->Empty() && m_store->EnableSkinEffects();
}

bool TbsActiveSkinObject::NeedsMorphStep() const
{
    return (ActiveState && MorphFactor < 1) || (!ActiveState && MorphFactor > 0);
}

const QImage &TbsActiveSkinObject::normalPicture() const
{
    return skinrectinapicture ? m_picture : m_form.FormPicture();
}

void TbsActiveSkinObject::drawPiece(QPainter &Canvas, const QImage &Picture, const TRect &Source, const TRect &Target)
{
    if (Picture.isNull() || IsNullRect(Source) || IsNullRect(Target)) {
        return;
    }
    stretch(Canvas, toQRect(Target), Picture, toQRect(Source));
}

void TbsActiveSkinObject::drawLooks(
    QPainter &Canvas, bool UpDate, const TRect &Normal, const TRect &Active, bool always)
{
    const bool unfinished = ActiveState ? MorphFactor != 1 : MorphFactor != 0;
    const QImage &normal = always ? m_picture : normalPicture();
    if (MorphingInEffect() && unfinished && !IsNullRect(Active)) {
        const QSize size = toQRect(ObjectRect).size();
        QImage from(size, QImage::Format_RGB32);
        QImage to(size, QImage::Format_RGB32);
        from.fill(Qt::black);
        to.fill(Qt::black);
        stretch(from, from.rect(), normal, toQRect(Normal));
        stretch(to, to.rect(), m_picture, toQRect(Active));
        TbsEffectBmp blended(from);
        blended.morph(morphkind, TbsEffectBmp(to), MorphFactor);
        blended.Draw(Canvas, ObjectRect.Left, ObjectRect.Top);
        return;
    }
    if (ActiveState && !IsNullRect(Active)) {
        drawPiece(Canvas, m_picture, Active, ObjectRect);
        return;
    }
    if (UpDate || skinrectinapicture || always) {
        drawPiece(Canvas, normal, Normal, ObjectRect);
    }
}

void TbsActiveSkinObject::Draw(QPainter &Canvas, bool UpDate)
{
    if (ObjectEnabled && !m_form.IsFormActive() && !IsNullRect(inactiveskinrect)) {
        drawPiece(Canvas, m_picture, inactiveskinrect, ObjectRect);
        return;
    }
    drawLooks(Canvas, UpDate, skinrect, activeskinrect, false);
}

void TbsActiveSkinObject::DblClick()
{
}

void TbsActiveSkinObject::MouseDown(int X, int Y, Qt::MouseButton Button)
{
    if (m_form.OnMouseDownEvent) {
        m_form.OnMouseDownEvent(IDName, X, Y, ObjectRect, Button);
    }
}

void TbsActiveSkinObject::MouseUp(int X, int Y, Qt::MouseButton Button)
{
    if (MouseOver && m_form.OnMouseUpEvent) {
        m_form.OnMouseUpEvent(IDName, X, Y, ObjectRect, Button);
    }
}

void TbsActiveSkinObject::MouseMove(int X, int Y)
{
    if (m_form.OnMouseMoveEvent) {
        m_form.OnMouseMoveEvent(IDName, X, Y, ObjectRect);
    }
}

void TbsActiveSkinObject::MouseEnter()
{
    MouseOver = true;
    ActiveState = true;
    if (!IsNullRect(activeskinrect)) {
        StartMorph();
    }
    if (m_form.OnMouseEnterEvent) {
        m_form.OnMouseEnterEvent(IDName);
    }
}

void TbsActiveSkinObject::MouseLeave()
{
    MouseOver = false;
    ActiveState = false;
    if (!IsNullRect(activeskinrect)) {
        StartMorph();
    }
    if (m_form.OnMouseLeaveEvent) {
        m_form.OnMouseLeaveEvent(IDName);
    }
}

void TbsActiveSkinObject::StartMorph()
{
    if (MorphingInEffect()) {
        m_form.tracker().StartMorphTimer();
    } else {
        m_form.painter().RepaintObject(this);
    }
}

void TbsActiveSkinObject::MorphStep()
{
    MorphFactor = std::clamp(MorphFactor + (ActiveState ? 0.2 : -0.2), 0.0, 1.0);
    m_form.painter().RepaintObject(this);
}

// --- TbsUserObject ------------------------------------------------------------------------------------------

void TbsUserObject::Draw(QPainter &Canvas, bool)
{
    if (m_form.OnPaintEvent) {
        m_form.OnPaintEvent(IDName, Canvas, ObjectRect);
    }
}

// --- TbsSkinButtonObject ------------------------------------------------------------------------------------

TbsSkinButtonObject::TbsSkinButtonObject(TbsSkinForm &form, const TbsDataSkinObject *data)
    : TbsActiveSkinObject(form, data)
{
    if (const auto *button = entryAs<TbsDataSkinButton>(data); button && hasObjectPicture()) {
        downrect = button->downrect;
        disableskinrsect = button->disableskinrsect;
    }
}

bool TbsSkinButtonObject::hasPopupItem() const
{
    return PopupItem && !PopupItem->empty();
}

bool TbsSkinButtonObject::NeedsMorphStep() const
{
    return TbsActiveSkinObject::NeedsMorphStep() && !(Pressed && hasPopupItem());
}

void TbsSkinButtonObject::Draw(QPainter &Canvas, bool UpDate)
{
    if (!ObjectEnabled && !IsNullRect(disableskinrsect)) {
        drawPiece(Canvas, m_picture, disableskinrsect, ObjectRect);
    } else if (Pressed && !IsNullRect(downrect) && MouseOver) {
        drawPiece(Canvas, m_picture, downrect, ObjectRect);
    } else {
        TbsActiveSkinObject::Draw(Canvas, UpDate);
    }
}

void TbsSkinButtonObject::SetPressed(bool Value)
{
    Pressed = Value;
    if (MorphingInEffect() && ActiveState) {
        MorphFactor = 1;
    }
    m_form.painter().RepaintObject(this);
    if (MorphingInEffect() && !Pressed) {
        StartMorph();
    }
}

bool TbsSkinButtonObject::ShowPopupItem()
{
    if (!hasPopupItem()) {
        return false;
    }
    const bool opened = m_form.menus().ShowPopupMenu(*PopupItem, anchorOnScreen(m_form, ObjectRect));
    if (!opened) {
        PopupItem.reset(); // no menu to wait for: the button comes up on release
    }
    return opened;
}

void TbsSkinButtonObject::MouseDown(int X, int Y, Qt::MouseButton Button)
{
    if (!ObjectEnabled) {
        return;
    }
    if (Button == Qt::LeftButton && !Pressed) {
        SetPressed(true);
        ShowPopupItem();
    }
    TbsActiveSkinObject::MouseDown(X, Y, Button);
}

void TbsSkinButtonObject::MouseUp(int X, int Y, Qt::MouseButton Button)
{
    if (!ObjectEnabled) {
        return;
    }
    if (Button == Qt::LeftButton && !hasPopupItem() && Pressed) {
        SetPressed(false);
    }
    TbsActiveSkinObject::MouseUp(X, Y, Button);
}

void TbsSkinButtonObject::MouseEnter()
{
    MouseOver = true;
    ActiveState = true;
    if (!IsNullRect(downrect) && Pressed) {
        if (MorphingInEffect()) {
            MorphFactor = 1;
        }
        m_form.painter().RepaintObject(this);
    } else if (!IsNullRect(activeskinrect)) {
        StartMorph();
    }
    if (m_form.OnMouseEnterEvent) {
        m_form.OnMouseEnterEvent(IDName);
    }
}

void TbsSkinButtonObject::MouseLeave()
{
    MouseOver = false;
    ActiveState = false;
    if (!(Pressed && hasPopupItem())) {
        m_form.painter().RepaintObject(this);
        StartMorph();
    }
    if (m_form.OnMouseLeaveEvent) {
        m_form.OnMouseLeaveEvent(IDName);
    }
}

// --- TbsSkinStdButtonObject ---------------------------------------------------------------------------------

TbsSkinStdButtonObject::TbsSkinStdButtonObject(TbsSkinForm &form, const TbsDataSkinObject *data)
    : TbsSkinButtonObject(form, data)
    , HasSkinData(data != nullptr)
{
    if (const auto *button = entryAs<TbsDataSkinStdButton>(data)) {
        command = button->command;
        if (hasObjectPicture()) {
            restorerect = button->restorerect;
            restoreactiverect = button->restoreactiverect;
            restoredownrect = button->restoredownrect;
            restoreinactiverect = button->restoreinactiverect;
        }
    }
}

TbsSkinStdButtonObject::TbsSkinStdButtonObject(TbsSkinForm &form, const QString &name, TbsStdCommand command)
    : TbsSkinButtonObject(form, nullptr)
    , command(command)
    , HasSkinData(false)
{
    IDName = name;
    skinrectinapicture = true;
    skinrect = { 0, 0, 1, 1 };
    ObjectRect = skinrect;
}

bool TbsSkinStdButtonObject::InUndoState() const
{
    return (command == cmMaximize && m_form.SkinWindowState() == wsMaximized)
        || (command == cmMinimize && m_form.SkinWindowState() == wsMinimized)
        || (command == cmRollUp && m_form.RollUpState());
}

bool TbsSkinStdButtonObject::NeedsMorphStep() const
{
    if (command == cmSysMenu && m_form.ShowIcon() && skinrectinapicture) {
        return false;
    }
    return TbsSkinButtonObject::NeedsMorphStep();
}

void TbsSkinStdButtonObject::drawPlain(QPainter &Canvas)
{
    const QSize size = toQRect(ObjectRect).size();
    if (size.isEmpty()) {
        return;
    }
    if (command == cmSysMenu && m_form.ShowIcon()) {
        Canvas.drawImage(ObjectRect.Left, ObjectRect.Top, m_form.painter().SmallIcon());
        return;
    }
    QImage look(size, QImage::Format_RGB32);
    QPainter p(&look);
    const bool down = Pressed && MouseOver;
    if (MouseOver) {
        look.fill(skinColor(s_plainFrameColor));
        p.fillRect(1, 1, size.width() - 2, size.height() - 2, skinColor(down ? s_plainDownColor : s_plainHotColor));
    } else {
        look.fill(FrameColors::btnFace());
    }
    const QColor glyph = ObjectEnabled ? FrameColors::btnText() : FrameColors::btnShadow();
    const int W = size.width();
    const int H = size.height();
    const int X = down ? W / 2 - 4 : W / 2 - 5;
    const int Y = down ? H / 2 - 3 : H / 2 - 4;
    switch (command) {
    case cmClose:
        DrawCloseGlyph(p, X, Y, glyph);
        break;
    case cmMaximize:
        if (m_form.SkinWindowState() == wsMaximized) {
            DrawRestoreGlyph(p, X, Y, glyph);
        } else {
            DrawMaximizeGlyph(p, X, Y, glyph);
        }
        break;
    case cmMinimize:
        if (m_form.SkinWindowState() == wsMinimized) {
            DrawRestoreGlyph(p, X, Y, glyph);
        } else {
            DrawMinimizeGlyph(p, X, Y, glyph);
        }
        break;
    case cmSysMenu:
        DrawSysMenuGlyph(p, X, Y, glyph);
        break;
    case cmRollUp:
        if (m_form.RollUpState()) {
            DrawRollDownGlyph(p, X, Y, glyph);
        } else {
            DrawRollUpGlyph(p, X, Y, glyph);
        }
        break;
    case cmMinimizeToTray:
        DrawMinimizeToTrayGlyph(p, X, Y, glyph);
        break;
    case cmDefault:
        break;
    }
    p.end();
    Canvas.drawImage(ObjectRect.Left, ObjectRect.Top, look);
}

void TbsSkinStdButtonObject::Draw(QPainter &Canvas, bool UpDate)
{
    if (!HasSkinData) {
        drawPlain(Canvas);
        return;
    }
    if (command == cmSysMenu && m_form.ShowIcon() && skinrectinapicture) {
        Canvas.drawImage(ObjectRect.Left, ObjectRect.Top, m_form.painter().SmallIcon());
        MorphFactor = 0;
        return;
    }
    const bool undo = InUndoState();
    if (!ObjectEnabled || (!m_form.IsFormActive() && !IsNullRect(inactiveskinrect) && !undo)) {
        TbsSkinButtonObject::Draw(Canvas, UpDate);
        return;
    }
    if (!undo || IsNullRect(restorerect)) {
        TbsSkinButtonObject::Draw(Canvas, UpDate);
        return;
    }
    if (!m_form.NCActive() && !IsNullRect(restoreinactiverect)) {
        drawPiece(Canvas, m_picture, restoreinactiverect, ObjectRect);
    } else if (Pressed && !IsNullRect(restoredownrect) && MouseOver) {
        drawPiece(Canvas, m_picture, restoredownrect, ObjectRect);
    } else {
        drawLooks(Canvas, UpDate, restorerect, restoreactiverect, true);
    }
}

void TbsSkinStdButtonObject::DblClick()
{
    if (command == cmSysMenu) {
        m_form.CloseForm();
    }
}

void TbsSkinStdButtonObject::MouseDown(int, int, Qt::MouseButton Button)
{
    if (!ObjectEnabled || Button != Qt::LeftButton || Pressed) {
        return;
    }
    SetPressed(true);
    if (command == cmSysMenu) {
        PopupItem = std::make_unique<TbsPopupItem>(m_form.GetSystemMenuItems());
        ShowPopupItem();
    }
}

void TbsSkinStdButtonObject::MouseUp(int X, int Y, Qt::MouseButton Button)
{
    const bool runs = ActiveState && Button == Qt::LeftButton;
    if (command == cmClose) {
        // The button is drawn up again before the window is asked to close.
        TbsSkinButtonObject::MouseUp(X, Y, Button);
        if (runs) {
            ExecuteCommand();
        }
        return;
    }
    if (runs) {
        ExecuteCommand();
    }
    TbsSkinButtonObject::MouseUp(X, Y, Button);
}

void TbsSkinStdButtonObject::ExecuteCommand()
{
    // The system menu opened on the press; the application answers the object events.
    runWindowCommand(m_form, command);
}

// --- TbsSkinAnimateObject -----------------------------------------------------------------------------------

TbsSkinAnimateObject::TbsSkinAnimateObject(TbsSkinForm &form, const TbsDataSkinObject *data)
    : TbsActiveSkinObject(form, data)
{
    morphing = false;
    if (const auto *animate = entryAs<TbsDataSkinAnimate>(data)) {
        countframes = std::max(1, animate->countframes);
        cycle = animate->cycle;
        buttonstyle = animate->buttonstyle;
        command = animate->command;
        timerinterval = std::max(25, animate->timerinterval);
        if (hasObjectPicture()) {
            downskinrect = animate->downskinrect;
        }
    }
}

void TbsSkinAnimateObject::Draw(QPainter &Canvas, bool)
{
    const int FW = RectWidth(skinrect);
    const int FH = RectHeight(skinrect);
    const auto frame = [&](int n) {
        const TRect &a = activeskinrect;
        return TRect { a.Left + FW * (n - 1), a.Top, a.Left + FW * n, a.Top + FH };
    };
    if (MenuShown) {
        if (IsNullRect(downskinrect)) {
            CurrentFrame = countframes;
            drawPiece(Canvas, m_picture, frame(CurrentFrame), ObjectRect);
        } else {
            drawPiece(Canvas, m_picture, downskinrect, ObjectRect);
        }
        return;
    }
    if (!m_form.IsFormActive() && !IsNullRect(inactiveskinrect)) {
        drawPiece(Canvas, m_picture, inactiveskinrect, ObjectRect);
    } else if (Pressed && MouseOver && !IsNullRect(downskinrect)) {
        drawPiece(Canvas, m_picture, downskinrect, ObjectRect);
    } else if (!IsNullRect(activeskinrect)) {
        drawPiece(Canvas, m_picture, frame(CurrentFrame), ObjectRect);
    }
}

void TbsSkinAnimateObject::SetFrame(int N)
{
    if (Forward) {
        CurrentFrame = N > countframes ? 1 : N;
    } else {
        CurrentFrame = N <= 0 ? countframes : N;
    }
    m_form.painter().RepaintObject(this);
}

void TbsSkinAnimateObject::AnimationStep()
{
    if (FrameTime < timerinterval) {
        FrameTime += 25;
        return;
    }
    if (Forward) {
        SetFrame(CurrentFrame + 1);
        if (!cycle && CurrentFrame == countframes) {
            ActiveState = false;
        }
    } else {
        SetFrame(CurrentFrame - 1);
        if (CurrentFrame == 1) {
            ActiveState = false;
        }
    }
    FrameTime = 25;
}

bool TbsSkinAnimateObject::ShowPopupItem()
{
    if (!PopupItem || PopupItem->empty()) {
        return false;
    }
    MenuShown = true;
    if (!m_form.menus().ShowPopupMenu(*PopupItem, anchorOnScreen(m_form, ObjectRect))) {
        MenuShown = false;
        PopupItem.reset();
        m_form.painter().RepaintObject(this);
        return false;
    }
    return true;
}

void TbsSkinAnimateObject::ExecuteCommand()
{
    if (command == cmSysMenu) {
        PopupItem = std::make_unique<TbsPopupItem>(m_form.GetSystemMenuItems());
        ShowPopupItem();
    } else if (command == cmDefault) {
        ShowPopupItem();
    } else {
        runWindowCommand(m_form, command);
    }
}

void TbsSkinAnimateObject::MouseEnter()
{
    MouseOver = true;
    if (MenuShown) {
        return;
    }
    if (buttonstyle) {
        ActiveState = true;
        Forward = true;
        if (!Pressed || IsNullRect(downskinrect)) {
            m_form.tracker().StartAnimationTimer();
        } else {
            m_form.painter().RepaintObject(this);
        }
    }
    if (m_form.OnMouseEnterEvent) {
        m_form.OnMouseEnterEvent(IDName);
    }
}

void TbsSkinAnimateObject::MouseLeave()
{
    if (!MouseOver) {
        return;
    }
    MouseOver = false;
    if (MenuShown) {
        return;
    }
    if (buttonstyle) {
        ActiveState = true;
        Forward = false;
        if (!Pressed || IsNullRect(downskinrect)) {
            m_form.tracker().StartAnimationTimer();
        } else {
            m_form.painter().RepaintObject(this);
        }
    }
    if (m_form.OnMouseLeaveEvent) {
        m_form.OnMouseLeaveEvent(IDName);
    }
}

void TbsSkinAnimateObject::MouseDown(int X, int Y, Qt::MouseButton Button)
{
    TbsActiveSkinObject::MouseDown(X, Y, Button);
    if (Button == Qt::LeftButton && !IsNullRect(downskinrect)) {
        CurrentFrame = countframes;
        Pressed = true;
        m_form.painter().RepaintObject(this);
    }
    if (command == cmSysMenu && MouseOver && buttonstyle && Button == Qt::LeftButton) {
        ExecuteCommand();
    }
}

void TbsSkinAnimateObject::MouseUp(int X, int Y, Qt::MouseButton Button)
{
    TbsActiveSkinObject::MouseUp(X, Y, Button);
    if (MenuShown) {
        return;
    }
    if (Button == Qt::LeftButton && !IsNullRect(downskinrect)) {
        Pressed = false;
        m_form.painter().RepaintObject(this);
        m_form.tracker().StartAnimationTimer();
    }
    if (command != cmSysMenu && MouseOver && buttonstyle && Button == Qt::LeftButton) {
        ExecuteCommand();
    }
}

void TbsSkinAnimateObject::DblClick()
{
    if (command == cmSysMenu) {
        m_form.CloseForm();
    }
}

// --- Creation -------------------------------------------------------------------------------------------------

std::unique_ptr<TbsActiveSkinObject> CreateFrameObject(TbsSkinForm &form, const TbsDataSkinObject &data)
{
    // The exact entry class decides: a main-menu-bar button is a kind of standard button entry, yet no frame
    // object.
    const QLatin1String word(data.TypeWord());
    if (word == QLatin1String(TbsDataUserObject::s_typeWord)) {
        return std::make_unique<TbsUserObject>(form, &data);
    }
    if (word == QLatin1String(TbsDataSkinStdButton::s_typeWord)) {
        return std::make_unique<TbsSkinStdButtonObject>(form, &data);
    }
    if (word == QLatin1String(TbsDataSkinButton::s_typeWord)) {
        return std::make_unique<TbsSkinButtonObject>(form, &data);
    }
    if (word == QLatin1String(TbsDataSkinCaption::s_typeWord)) {
        return std::make_unique<TbsSkinCaptionObject>(form, &data);
    }
    if (word == QLatin1String(TbsDataSkinAnimate::s_typeWord)) {
        return std::make_unique<TbsSkinAnimateObject>(form, &data);
    }
    return nullptr;
}

TbsStdCommand commandOf(const TbsActiveSkinObject *object)
{
    if (const auto *button = dynamic_cast<const TbsSkinStdButtonObject *>(object)) {
        return button->command;
    }
    if (const auto *animate = dynamic_cast<const TbsSkinAnimateObject *>(object)) {
        return animate->command;
    }
    return cmDefault;
}

bool isCaptionButton(const TbsActiveSkinObject *object)
{
    return dynamic_cast<const TbsSkinStdButtonObject *>(object) || dynamic_cast<const TbsSkinAnimateObject *>(object);
}

} // namespace pixolo
