#pragma once

#include "skin/SkinTypes.h"

#include <QImage>
#include <QPointer>
#include <QString>

#include <memory>
#include <vector>

class QPainter;

namespace pixolo
{

class TbsDataSkinObject;
class TbsSkinData;
class TbsSkinForm;
struct SystemMenuItem;

// The items a caption button drops down below itself while it is pressed (the system menu); none when empty.
using TbsPopupItem = std::vector<SystemMenuItem>;

// An interactive piece of a skinned window frame: the caption, a caption button, an animated button or a piece
// the application paints. It knows where it lies on the window (ObjectRect, window coordinates), draws each of its
// looks from the skin pictures and follows the mouse; the skinned form that owns it lays it out, decides which
// objects are enabled and visible, gives it the mouse and paints the frame.
//
// Looks other than `skinrect` come from the object picture (the store's picture `activepictureindex`); an object
// without one has its normal look only. The object keeps its own copy of the picture, so it never reads freed
// skin data.
class TbsActiveSkinObject
{
public:
    // `data` null: an object without skin data (the plain frame's standard buttons).
    TbsActiveSkinObject(TbsSkinForm &form, const TbsDataSkinObject *data);
    virtual ~TbsActiveSkinObject();
    TbsActiveSkinObject(const TbsActiveSkinObject &) = delete;
    TbsActiveSkinObject &operator=(const TbsActiveSkinObject &) = delete;

    virtual bool NeedsMorphStep() const;
    // UpDate is false while the whole frame is painted (the frame image already shows the normal look of a
    // skinrect in the form picture) and true when the object is drawn alone.
    virtual void Draw(QPainter &Canvas, bool UpDate);
    virtual void DblClick();
    virtual void MouseDown(int X, int Y, Qt::MouseButton Button);
    virtual void MouseUp(int X, int Y, Qt::MouseButton Button);
    virtual void MouseMove(int X, int Y);
    virtual void MouseEnter();
    virtual void MouseLeave();

    // Switches the form's morph timer on when morphing is in effect, else repaints at once.
    void StartMorph();
    // One step of 0.2 towards the look the ActiveState asks for.
    void MorphStep();
    // The object's `morphing` flag with a loaded store whose skin effects are on.
    bool MorphingInEffect() const;

    QString IDName;
    QString Hint;
    bool skinrectinapicture = false;
    TRect skinrect;
    TRect activeskinrect;
    TRect inactiveskinrect;
    bool morphing = false;
    TMorphKind morphkind = mkDefault;

    TRect ObjectRect;
    double MorphFactor = 0;
    bool MouseOver = false;
    bool ActiveState = false;
    bool ObjectEnabled = true;
    bool ObjectVisible = true;

protected:
    // The picture that holds skinrect: the object picture when skinrectinapicture, else the form picture.
    const QImage &normalPicture() const;
    const QImage &objectPicture() const { return m_picture; }
    bool hasObjectPicture() const { return !m_picture.isNull(); }
    // Copies Source of Picture onto Target, scaled.
    static void drawPiece(QPainter &Canvas, const QImage &Picture, const TRect &Source, const TRect &Target);
    // Steps 2 to 4 of the drawing: the morph between Normal and Active while unfinished, else the highlighted look
    // while active, else the normal look (only when drawn alone or kept in the object picture, or `always`).
    void drawLooks(QPainter &Canvas, bool UpDate, const TRect &Normal, const TRect &Active, bool always);

    TbsSkinForm &m_form;
    QPointer<TbsSkinData> m_store;
    QImage m_picture; // the object picture, RGB32; null when none

    friend class TbsSkinForm;
};

// A piece the application paints itself, through the form's OnPaintEvent.
class TbsUserObject final : public TbsActiveSkinObject
{
public:
    using TbsActiveSkinObject::TbsActiveSkinObject;
    void Draw(QPainter &Canvas, bool UpDate) override;
};

// A frame button with a pressed and a disabled look, and optionally items that drop down below it.
class TbsSkinButtonObject : public TbsActiveSkinObject
{
public:
    TbsSkinButtonObject(TbsSkinForm &form, const TbsDataSkinObject *data);

    bool NeedsMorphStep() const override;
    void Draw(QPainter &Canvas, bool UpDate) override;
    void MouseDown(int X, int Y, Qt::MouseButton Button) override;
    void MouseUp(int X, int Y, Qt::MouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;

    void SetPressed(bool Value);
    // Opens PopupItem below the button; true when a menu opened. PopupItem is dropped when none could open, so
    // the button never waits for a menu that is not there.
    bool ShowPopupItem();
    bool hasPopupItem() const;

    bool Pressed = false;
    TRect downrect;
    TRect disableskinrsect;
    std::unique_ptr<TbsPopupItem> PopupItem;
};

// A caption button: close, maximise, minimise, system menu, roll-up, minimise to tray or a custom command.
class TbsSkinStdButtonObject final : public TbsSkinButtonObject
{
public:
    // Without data: a standard button of the plain frame with the given command and a 1 × 1 look.
    TbsSkinStdButtonObject(TbsSkinForm &form, const TbsDataSkinObject *data);
    TbsSkinStdButtonObject(TbsSkinForm &form, const QString &name, TbsStdCommand command);

    bool NeedsMorphStep() const override;
    void Draw(QPainter &Canvas, bool UpDate) override;
    void DblClick() override;
    void MouseDown(int X, int Y, Qt::MouseButton Button) override;
    void MouseUp(int X, int Y, Qt::MouseButton Button) override;

    void ExecuteCommand();
    // Maximise while maximised, minimise while minimised, roll-up while rolled up.
    bool InUndoState() const;

    TbsStdCommand command = cmDefault;
    TRect restorerect;
    TRect restoreactiverect;
    TRect restoredownrect;
    TRect restoreinactiverect;
    bool HasSkinData = false;

private:
    void drawPlain(QPainter &Canvas);
};

// An animated frame button: frames side by side in the object picture, stepped by the form's animation timer.
class TbsSkinAnimateObject final : public TbsActiveSkinObject
{
public:
    TbsSkinAnimateObject(TbsSkinForm &form, const TbsDataSkinObject *data);

    void Draw(QPainter &Canvas, bool UpDate) override;
    void DblClick() override;
    void MouseDown(int X, int Y, Qt::MouseButton Button) override;
    void MouseUp(int X, int Y, Qt::MouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;

    void SetFrame(int N);
    void AnimationStep();
    void ExecuteCommand();
    bool ShowPopupItem();

    int countframes = 1;
    bool cycle = false;
    bool buttonstyle = false;
    TbsStdCommand command = cmDefault;
    TRect downskinrect;
    int timerinterval = 50;
    int CurrentFrame = 1;
    int FrameTime = 25;
    bool Forward = true;
    bool Pressed = false;
    bool MenuShown = false;
    std::unique_ptr<TbsPopupItem> PopupItem;
};

// The frame object of a skin entry: the exact entry class decides (a menu item, a main-menu-bar item or a
// main-menu-bar button makes none, though the last is a kind of standard button).
std::unique_ptr<TbsActiveSkinObject> CreateFrameObject(TbsSkinForm &form, const TbsDataSkinObject &data);

// The command of a standard button or animated object of the frame; cmDefault for any other object.
TbsStdCommand commandOf(const TbsActiveSkinObject *object);
// A standard button or an animated object: the objects a caption's button row is made of.
bool isCaptionButton(const TbsActiveSkinObject *object);

} // namespace pixolo
