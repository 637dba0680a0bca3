#pragma once

#include "skin/SkinKeys.h"
#include "skin/SkinTypes.h"

#include <QString>

#include <memory>

namespace pixolo
{

class SkinIni;

// The data of one [SKINOBJECTS] entry, a part of the window frame (caption, caption buttons, animations, menu
// items): a passive record whose fields are named by their description keys and read from the section named by
// the entry (IDName). A new object holds the defaults that missing keys give; LoadData reads the base's keys
// first, then the class's own; SaveData erases the section and writes them back the same way. `skinrect` lies in
// the form picture unless `skinrectinapicture`; the other looks lie in the picture `activepictureindex`.
class TbsDataSkinObject : public SkinKeyed<TbsDataSkinObject, SkinDataEntry>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "";

    QString hint;
    int activepictureindex = -1;
    bool skinrectinapicture = false;
    TRect skinrect;
    TRect activeskinrect;
    TRect inactiveskinrect;
    bool morphing = false;
    TMorphKind morphkind = mkDefault;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.string("hint", s.hint);
        v.integer("activepictureindex", s.activepictureindex, -1);
        v.boolean("skinrectinapicture", s.skinrectinapicture);
        v.rect("skinrect", s.skinrect);
        v.rect("activeskinrect", s.activeskinrect);
        v.rect("inactiveskinrect", s.inactiveskinrect);
        v.boolean("morphing", s.morphing);
        v.morphKind("morphkind", s.morphkind);
    }
};

// A piece the application paints itself: only `skinrect` is read; every other key keeps its default.
class TbsDataUserObject final : public TbsDataSkinObject
{
public:
    using TbsDataSkinObject::TbsDataSkinObject;
    static constexpr const char *s_typeWord = "userobject";

    void LoadData(const SkinIni &ini) override;
    void SaveData(SkinIni &ini) const override;
    const char *TypeWord() const override { return s_typeWord; }
};

// A frame button: pressed and disabled looks in the object picture. The disabled key really is spelt
// `disableskinrsect`.
class TbsDataSkinButton : public SkinKeyed<TbsDataSkinButton, TbsDataSkinObject>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "button";

    TRect downrect;
    TRect disableskinrsect;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.rect("downrect", s.downrect);
        v.rect("disableskinrsect", s.disableskinrsect);
    }
};

// A caption button with its command and the looks of its undo state (restore).
class TbsDataSkinStdButton : public SkinKeyed<TbsDataSkinStdButton, TbsDataSkinButton>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "stdbutton";

    TbsStdCommand command = cmDefault;
    TRect restorerect;
    TRect restoreactiverect;
    TRect restoredownrect;
    TRect restoreinactiverect;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.command("command", s.command);
        v.rect("restorerect", s.restorerect);
        v.rect("restoreactiverect", s.restoreactiverect);
        v.rect("restoredownrect", s.restoredownrect);
        v.rect("restoreinactiverect", s.restoreinactiverect);
    }
};

class TbsDataSkinMainMenuBarButton final : public SkinKeyed<TbsDataSkinMainMenuBarButton, TbsDataSkinStdButton>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "mainmenubarbutton";

    template <class V, class S> static void keys(V &, S &) { }
};

// An animated frame button; it never morphs, whatever its section says.
class TbsDataSkinAnimate final : public SkinKeyed<TbsDataSkinAnimate, TbsDataSkinObject>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "animate";
    void LoadData(const SkinIni &ini) override;

    int countframes = 1;
    bool cycle = false;
    bool buttonstyle = false;
    int timerinterval = 50;
    TbsStdCommand command = cmDefault;
    TRect downskinrect;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.integer("countframes", s.countframes, 1);
        v.boolean("cycle", s.cycle);
        v.boolean("buttonstyle", s.buttonstyle);
        v.integer("timerinterval", s.timerinterval, 50);
        v.command("command", s.command);
        v.rect("downskinrect", s.downskinrect);
    }
};

// `textrect` is relative to the caption's `skinrect`.
class TbsDataSkinCaption final : public SkinKeyed<TbsDataSkinCaption, TbsDataSkinObject>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "caption";

    TRect textrect;
    QString fontname = QStringLiteral("Arial");
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    int fontcolor = 0;
    int activefontcolor = 0;
    TAlignment alignment = taCenter;
    bool light = false;
    int lightcolor = 0;
    int activelightcolor = 0;
    bool shadow = false;
    int shadowcolor = 0;
    int activeshadowcolor = 0;
    TRect framerect;
    TRect activeframerect;
    TRect frametextrect;
    int frameleftoffset = 0;
    int framerightoffset = 0;
    bool stretcheffect = false;
    TRect animateskinrect;
    int framecount = 0;
    int animateinterval = 25;
    bool inactiveanimation = false;
    bool fullframe = false;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.rect("textrect", s.textrect);
        v.font("", s.fontname, s.fontheight, s.fontstyle);
        v.integer("fontcolor", s.fontcolor);
        v.integer("activefontcolor", s.activefontcolor);
        v.alignment("alignment", s.alignment);
        v.boolean("light", s.light);
        v.integer("lightcolor", s.lightcolor);
        v.integer("activelightcolor", s.activelightcolor);
        v.boolean("shadow", s.shadow);
        v.integer("shadowcolor", s.shadowcolor);
        v.integer("activeshadowcolor", s.activeshadowcolor);
        v.rect("framerect", s.framerect);
        v.rect("activeframerect", s.activeframerect);
        v.rect("frametextrect", s.frametextrect);
        v.integer("frameleftoffset", s.frameleftoffset);
        v.integer("framerightoffset", s.framerightoffset);
        v.boolean("stretcheffect", s.stretcheffect);
        animationKeys(v, s);
        v.boolean("fullframe", s.fullframe);
    }
};

// The look of a popup menu item and of a separator (`dividerrect`).
class TbsDataSkinMenuItem final : public SkinKeyed<TbsDataSkinMenuItem, TbsDataSkinObject>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "menuitem";

    int itemleftoffset = 0;
    int itemrightoffset = 0;
    TRect dividerrect;
    int dividerleftoffset = 0;
    int dividerrightoffset = 0;
    TRect textrect;
    QString fontname = QStringLiteral("Arial");
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    int fontcolor = 0;
    int activefontcolor = 0;
    int unenabledfontcolor = 0;
    bool stretcheffect = false;
    bool inactivestretcheffect = false;
    bool dividerstretcheffect = false;
    TRect animateskinrect;
    int framecount = 0;
    int animateinterval = 25;
    bool inactiveanimation = false;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.integer("itemleftoffset", s.itemleftoffset);
        v.integer("itemrightoffset", s.itemrightoffset);
        v.rect("dividerrect", s.dividerrect);
        v.integer("dividerleftoffset", s.dividerleftoffset);
        v.integer("dividerrightoffset", s.dividerrightoffset);
        v.rect("textrect", s.textrect);
        v.font("", s.fontname, s.fontheight, s.fontstyle);
        v.integer("fontcolor", s.fontcolor);
        v.integer("activefontcolor", s.activefontcolor);
        v.integer("unenabledfontcolor", s.unenabledfontcolor);
        v.boolean("stretcheffect", s.stretcheffect);
        v.boolean("inactivestretcheffect", s.inactivestretcheffect);
        v.boolean("dividerstretcheffect", s.dividerstretcheffect);
        animationKeys(v, s);
    }
};

class TbsDataSkinMainMenuItem : public SkinKeyed<TbsDataSkinMainMenuItem, TbsDataSkinObject>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "";

    int itemleftoffset = 0;
    int itemrightoffset = 0;
    TRect downrect;
    TRect textrect;
    QString fontname = QStringLiteral("Arial");
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    int fontcolor = 0;
    int activefontcolor = 0;
    int downfontcolor = 0;
    int unenabledfontcolor = 0;
    bool stretcheffect = false;
    TRect animateskinrect;
    int framecount = 0;
    int animateinterval = 25;
    bool inactiveanimation = false;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.integer("itemleftoffset", s.itemleftoffset);
        v.integer("itemrightoffset", s.itemrightoffset);
        v.rect("downrect", s.downrect);
        v.rect("textrect", s.textrect);
        v.font("", s.fontname, s.fontheight, s.fontstyle);
        v.integer("fontcolor", s.fontcolor);
        v.integer("activefontcolor", s.activefontcolor);
        v.integer("downfontcolor", s.downfontcolor);
        v.integer("unenabledfontcolor", s.unenabledfontcolor);
        v.boolean("stretcheffect", s.stretcheffect);
        animationKeys(v, s);
    }
};

class TbsDataSkinMainMenuBarItem final : public SkinKeyed<TbsDataSkinMainMenuBarItem, TbsDataSkinMainMenuItem>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "mainmenubaritem";

    template <class V, class S> static void keys(V &, S &) { }
};

// The data object for a [SKINOBJECTS] type word (compared exactly), or null for a word of no class.
std::unique_ptr<TbsDataSkinObject> CreateSkinObjectData(const QString &typeWord, const QString &name);

} // namespace pixolo
