#pragma once

#include "skinctrls/ControlBase.h"
#include "skinctrls/TbsSkinPanel.h"
#include "skinframe/SkinFrameTypes.h"

#include <QIcon>
#include <QRect>
#include <QString>

#include <initializer_list>

namespace pixolo
{

// Building a window's controls in code, as its design lists them: a named control at its bounds.
template <typename Control> Control *makeControl(QWidget *parent, const char *name, QRect bounds)
{
    auto *control = new Control(parent); // the parent owns it
    control->setObjectName(QString::fromLatin1(name));
    control->SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
    return control;
}

class TbsCompressedStoredSkin;
class TbsSkinData;
class TbsSkinForm;

// The window's skin components: the stored skin (Pixolo's own, built into the program) and the store that loads
// it. The window is registered for skin messages first, so the store's change messages reach it.
void makeSkinComponents(QWidget *window, bool skinEffects, TbsSkinData *&store, TbsCompressedStoredSkin *&storedSkin);

// The window's skinned frame `bsSkinForm1` with the given caption buttons; the store is bound later, with the
// window's other references. The window becomes frameless and its controls go into the frame's client widget.
TbsSkinForm *makeSkinForm(QWidget *window, TbsBorderIcons icons, TFormBorderStyle border = bsSizeable);

// Has the store load the stored skin (a broken stored skin raises and the window cannot be made). Controls bound to
// the store before hear of the load through their window and apply it.
void loadSkin(TbsSkinData *store, TbsCompressedStoredSkin *storedSkin);

// The program's icon as the window's store draws it (its system-menu button), at the sizes task bars and window
// switchers ask for; an empty icon when the skin has no such picture.
QIcon programWindowIcon(const TbsSkinData &store);

class SkinBoundControl;

// Binds each of the window's skinned controls to the window's store, in the order given.
void bindSkin(TbsSkinData *store, std::initializer_list<SkinBoundControl *> controls);

// A "panel" of the skin, docked as given, with the given border.
TbsSkinPanel *makePanel(QWidget *parent, const char *name, QRect bounds, TAlign align, TbsSkinBorderStyle border);

} // namespace pixolo
