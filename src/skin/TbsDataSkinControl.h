#pragma once

#include "skin/SkinKeys.h"
#include "skin/SkinTypes.h"

#include <QString>

#include <memory>

namespace pixolo
{

class SkinIni;

// The data of one [SKINCONTROLS] entry: a passive record whose fields are named by their description keys and
// read from the section named by the entry (IDName). A new object holds the defaults that missing keys give;
// LoadData reads the base's keys first, then the class's own; SaveData erases the section and writes them back
// the same way. Rectangles of images lie in the store's picture `pictureindex`; points and `clientrect` are
// relative to `skinrect`. Consumers test the class (or TypeWord()) of an entry before using its own fields.
class TbsDataSkinControl : public SkinKeyed<TbsDataSkinControl, SkinDataEntry>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "";

    int pictureindex = -1;
    int maskpictureindex = -1; // black = inside
    TRect skinrect;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.integer("pictureindex", s.pictureindex, -1);
        v.integer("maskpictureindex", s.maskpictureindex, -1);
        v.rect("skinrect", s.skinrect);
    }
};

// The geometry that lets a control's image grow: corner points and client rectangle relative to `skinrect`.
class TbsDataSkinCustomControl : public SkinKeyed<TbsDataSkinCustomControl, TbsDataSkinControl>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "";

    TPoint lefttoppoint;
    TPoint righttoppoint;
    TPoint leftbottompoint;
    TPoint rightbottompoint;
    TRect clientrect;
    bool stretcheffect = false;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.point("lefttoppoint", s.lefttoppoint);
        v.point("righttoppoint", s.righttoppoint);
        v.point("leftbottompoint", s.leftbottompoint);
        v.point("rightbottompoint", s.rightbottompoint);
        v.rect("clientrect", s.clientrect);
        v.boolean("stretcheffect", s.stretcheffect);
    }
};

class TbsDataSkinButtonControl : public SkinKeyed<TbsDataSkinButtonControl, TbsDataSkinCustomControl>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "button";

    QString fontname = QStringLiteral("Arial");
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    int fontcolor = 0;
    int activefontcolor = 0;
    int downfontcolor = 0;
    int disabledfontcolor = 0;
    TRect activeskinrect;
    TRect downskinrect;
    TRect disabledskinrect;
    bool morphing = false;
    TMorphKind morphkind = mkDefault;
    TRect animateskinrect;
    int framecount = 0;
    int animateinterval = 25;
    bool showfocus = false;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.font("", s.fontname, s.fontheight, s.fontstyle);
        v.integer("fontcolor", s.fontcolor);
        v.integer("activefontcolor", s.activefontcolor);
        v.integer("downfontcolor", s.downfontcolor);
        v.integer("disabledfontcolor", s.disabledfontcolor);
        v.rect("activeskinrect", s.activeskinrect);
        v.rect("downskinrect", s.downskinrect);
        v.rect("disabledskinrect", s.disabledskinrect);
        v.boolean("morphing", s.morphing);
        v.morphKind("morphkind", s.morphkind);
        v.rect("animateskinrect", s.animateskinrect);
        v.integer("framecount", s.framecount);
        v.integer("animateinterval", s.animateinterval, 25);
        v.boolean("showfocus", s.showfocus);
    }
};

class TbsDataSkinMenuButtonControl final : public SkinKeyed<TbsDataSkinMenuButtonControl, TbsDataSkinButtonControl>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "menubutton";

    TRect trackbuttonrect;

    template <class V, class S> static void keys(V &v, S &s) { v.rect("trackbuttonrect", s.trackbuttonrect); }
};

// `checkimagearea` and `textarea` are in control coordinates at the skin size.
class TbsDataSkinCheckRadioControl final : public SkinKeyed<TbsDataSkinCheckRadioControl, TbsDataSkinCustomControl>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "checkradio";

    QString fontname = QStringLiteral("Arial");
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    int fontcolor = 0;
    int activefontcolor = 0;
    int unenabledfontcolor = 0;
    int framefontcolor = 0;
    TRect activeskinrect;
    TRect checkimagearea;
    TRect textarea;
    TRect checkimagerect;
    TRect uncheckimagerect;
    TRect activecheckimagerect;
    TRect activeuncheckimagerect;
    TRect unenabledcheckimagerect;
    TRect unenableduncheckimagerect;
    bool morphing = false;
    TMorphKind morphkind = mkDefault;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.font("", s.fontname, s.fontheight, s.fontstyle);
        v.integer("fontcolor", s.fontcolor);
        v.integer("activefontcolor", s.activefontcolor);
        v.integer("unenabledfontcolor", s.unenabledfontcolor);
        v.integer("framefontcolor", s.framefontcolor);
        v.rect("activeskinrect", s.activeskinrect);
        v.rect("checkimagearea", s.checkimagearea);
        v.rect("textarea", s.textarea);
        v.rect("checkimagerect", s.checkimagerect);
        v.rect("uncheckimagerect", s.uncheckimagerect);
        v.rect("activecheckimagerect", s.activecheckimagerect);
        v.rect("activeuncheckimagerect", s.activeuncheckimagerect);
        v.rect("unenabledcheckimagerect", s.unenabledcheckimagerect);
        v.rect("unenableduncheckimagerect", s.unenableduncheckimagerect);
        v.boolean("morphing", s.morphing);
        v.morphKind("morphkind", s.morphkind);
    }
};

// Panel sections may also carry `rollupmarkerrect` and `restoremarkerrect`; they are not read.
class TbsDataSkinPanelControl final : public SkinKeyed<TbsDataSkinPanelControl, TbsDataSkinCustomControl>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "panel";

    int bgpictureindex = -1;
    TRect captionrect;
    TAlignment alignment = taCenter;
    QString fontname = QStringLiteral("Arial");
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    int fontcolor = 0;
    TRect checkimagerect;
    TRect uncheckimagerect;
    TRect markframerect;
    TRect framerect;
    TRect frametextrect;
    int frameleftoffset = 0;
    int framerightoffset = 0;
    TRect gripperrect;
    bool grippertransparent = false;
    int grippertransparentcolor = 0;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.integer("bgpictureindex", s.bgpictureindex, -1);
        v.rect("captionrect", s.captionrect);
        v.alignment("alignment", s.alignment);
        v.font("", s.fontname, s.fontheight, s.fontstyle);
        v.integer("fontcolor", s.fontcolor);
        v.rect("checkimagerect", s.checkimagerect);
        v.rect("uncheckimagerect", s.uncheckimagerect);
        v.rect("markframerect", s.markframerect);
        v.rect("framerect", s.framerect);
        v.rect("frametextrect", s.frametextrect);
        v.integer("frameleftoffset", s.frameleftoffset);
        v.integer("framerightoffset", s.framerightoffset);
        v.rect("gripperrect", s.gripperrect);
        v.boolean("grippertransparent", s.grippertransparent);
        v.integer("grippertransparentcolor", s.grippertransparentcolor);
    }
};

class TbsDataSkinExPanelControl final : public SkinKeyed<TbsDataSkinExPanelControl, TbsDataSkinCustomControl>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "expanel";

    TRect rollhskinrect;
    TRect rollvskinrect;
    int rollleftoffset = 0;
    int rollrightoffset = 0;
    int rolltopoffset = 0;
    int rollbottomoffset = 0;
    TRect rollvcaptionrect;
    TRect rollhcaptionrect;
    TRect closebuttonrect;
    TRect closebuttonactiverect;
    TRect closebuttondownrect;
    TRect hrollbuttonrect;
    TRect hrollbuttonactiverect;
    TRect hrollbuttondownrect;
    TRect hrestorebuttonrect;
    TRect hrestorebuttonactiverect;
    TRect hrestorebuttondownrect;
    TRect vrollbuttonrect;
    TRect vrollbuttonactiverect;
    TRect vrollbuttondownrect;
    TRect vrestorebuttonrect;
    TRect vrestorebuttonactiverect;
    TRect vrestorebuttondownrect;
    TRect captionrect;
    QString fontname = QStringLiteral("Arial");
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    int fontcolor = 0;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.rect("rollhskinrect", s.rollhskinrect);
        v.rect("rollvskinrect", s.rollvskinrect);
        v.integer("rollleftoffset", s.rollleftoffset);
        v.integer("rollrightoffset", s.rollrightoffset);
        v.integer("rolltopoffset", s.rolltopoffset);
        v.integer("rollbottomoffset", s.rollbottomoffset);
        v.rect("rollvcaptionrect", s.rollvcaptionrect);
        v.rect("rollhcaptionrect", s.rollhcaptionrect);
        v.rect("closebuttonrect", s.closebuttonrect);
        v.rect("closebuttonactiverect", s.closebuttonactiverect);
        v.rect("closebuttondownrect", s.closebuttondownrect);
        v.rect("hrollbuttonrect", s.hrollbuttonrect);
        v.rect("hrollbuttonactiverect", s.hrollbuttonactiverect);
        v.rect("hrollbuttondownrect", s.hrollbuttondownrect);
        v.rect("hrestorebuttonrect", s.hrestorebuttonrect);
        v.rect("hrestorebuttonactiverect", s.hrestorebuttonactiverect);
        v.rect("hrestorebuttondownrect", s.hrestorebuttondownrect);
        v.rect("vrollbuttonrect", s.vrollbuttonrect);
        v.rect("vrollbuttonactiverect", s.vrollbuttonactiverect);
        v.rect("vrollbuttondownrect", s.vrollbuttondownrect);
        v.rect("vrestorebuttonrect", s.vrestorebuttonrect);
        v.rect("vrestorebuttonactiverect", s.vrestorebuttonactiverect);
        v.rect("vrestorebuttondownrect", s.vrestorebuttondownrect);
        v.rect("captionrect", s.captionrect);
        v.font("", s.fontname, s.fontheight, s.fontstyle);
        v.integer("fontcolor", s.fontcolor);
    }
};

class TbsDataSkinEditControl : public SkinKeyed<TbsDataSkinEditControl, TbsDataSkinCustomControl>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "edit";

    TRect activeskinrect;
    QString fontname = QStringLiteral("Arial");
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    int fontcolor = 0;
    int disabledfontcolor = 0;
    int activefontcolor = 0;
    TRect buttonrect;
    TRect activebuttonrect;
    TRect downbuttonrect;
    TRect unenabledbuttonrect;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.rect("activeskinrect", s.activeskinrect);
        v.font("", s.fontname, s.fontheight, s.fontstyle);
        v.integer("fontcolor", s.fontcolor);
        v.integer("disabledfontcolor", s.disabledfontcolor);
        v.integer("activefontcolor", s.activefontcolor);
        v.rect("buttonrect", s.buttonrect);
        v.rect("activebuttonrect", s.activebuttonrect);
        v.rect("downbuttonrect", s.downbuttonrect);
        v.rect("unenabledbuttonrect", s.unenabledbuttonrect);
    }
};

class TbsDataSkinMemoControl final : public SkinKeyed<TbsDataSkinMemoControl, TbsDataSkinEditControl>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "memo";

    int bgcolor = 0;
    int activebgcolor = 0;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.integer("bgcolor", s.bgcolor);
        v.integer("activebgcolor", s.activebgcolor);
    }
};

class TbsDataSkinLabelControl final : public SkinKeyed<TbsDataSkinLabelControl, TbsDataSkinCustomControl>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "label";

    QString fontname = QStringLiteral("Arial");
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    int fontcolor = 0;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.font("", s.fontname, s.fontheight, s.fontstyle);
        v.integer("fontcolor", s.fontcolor);
    }
};

// A standard label takes only its font from the skin: no points, no client rectangle.
class TbsDataSkinStdLabelControl final : public SkinKeyed<TbsDataSkinStdLabelControl, TbsDataSkinControl>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "stdlabel";

    QString fontname = QStringLiteral("Arial");
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    int fontcolor = 0;
    int activefontcolor = 16711680; // pure blue in the 0x00BBGGRR layout

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.font("", s.fontname, s.fontheight, s.fontstyle);
        v.integer("fontcolor", s.fontcolor);
        v.integer("activefontcolor", s.activefontcolor, 16711680);
    }
};

// The three scroll bar names are entries of the store's control list.
class TbsDataSkinListBox : public SkinKeyed<TbsDataSkinListBox, TbsDataSkinCustomControl>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "listbox";

    TRect itemrect;
    TRect activeitemrect;
    TRect focusitemrect;
    int itemleftoffset = 0;
    int itemrightoffset = 0;
    TRect itemtextrect;
    QString fontname = QStringLiteral("Arial");
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    int fontcolor = 0;
    int activefontcolor = 0;
    int focusfontcolor = 0;
    TRect captionrect;
    QString captionfontname = QStringLiteral("Arial");
    int captionfontheight = 14;
    TFontStyles captionfontstyle = 0;
    int captionfontcolor = 0;
    TRect upbuttonrect;
    TRect activeupbuttonrect;
    TRect downupbuttonrect;
    TRect downbuttonrect;
    TRect activedownbuttonrect;
    TRect downdownbuttonrect;
    TRect checkbuttonrect;
    TRect activecheckbuttonrect;
    TRect downcheckbuttonrect;
    QString vscrollbarname = QStringLiteral("vscrollbar");
    QString hscrollbarname = QStringLiteral("hscrollbar");
    QString bothhscrollbarname = QStringLiteral("bothhscrollbar");
    bool showfocus = false;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.rect("itemrect", s.itemrect);
        v.rect("activeitemrect", s.activeitemrect);
        v.rect("focusitemrect", s.focusitemrect);
        v.integer("itemleftoffset", s.itemleftoffset);
        v.integer("itemrightoffset", s.itemrightoffset);
        v.rect("itemtextrect", s.itemtextrect);
        v.font("", s.fontname, s.fontheight, s.fontstyle);
        v.integer("fontcolor", s.fontcolor);
        v.integer("activefontcolor", s.activefontcolor);
        v.integer("focusfontcolor", s.focusfontcolor);
        v.rect("captionrect", s.captionrect);
        v.font("caption", s.captionfontname, s.captionfontheight, s.captionfontstyle);
        v.integer("captionfontcolor", s.captionfontcolor);
        v.rect("upbuttonrect", s.upbuttonrect);
        v.rect("activeupbuttonrect", s.activeupbuttonrect);
        v.rect("downupbuttonrect", s.downupbuttonrect);
        v.rect("downbuttonrect", s.downbuttonrect);
        v.rect("activedownbuttonrect", s.activedownbuttonrect);
        v.rect("downdownbuttonrect", s.downdownbuttonrect);
        v.rect("checkbuttonrect", s.checkbuttonrect);
        v.rect("activecheckbuttonrect", s.activecheckbuttonrect);
        v.rect("downcheckbuttonrect", s.downcheckbuttonrect);
        v.string("vscrollbarname", s.vscrollbarname, "vscrollbar");
        v.string("hscrollbarname", s.hscrollbarname, "hscrollbar");
        v.string("bothhscrollbarname", s.bothhscrollbarname, "bothhscrollbar");
        v.boolean("showfocus", s.showfocus);
    }
};

class TbsDataSkinCheckListBox final : public SkinKeyed<TbsDataSkinCheckListBox, TbsDataSkinListBox>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "checklistbox";

    TRect itemcheckrect;
    TRect checkimagerect;
    TRect uncheckimagerect;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.rect("itemcheckrect", s.itemcheckrect);
        v.rect("checkimagerect", s.checkimagerect);
        v.rect("uncheckimagerect", s.uncheckimagerect);
    }
};

// `listboxname` is an entry of the store's control list.
class TbsDataSkinComboBox final : public SkinKeyed<TbsDataSkinComboBox, TbsDataSkinCustomControl>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "combobox";

    TRect activeskinrect;
    TRect itemrect;
    TRect activeitemrect;
    TRect focusitemrect;
    int itemleftoffset = 0;
    int itemrightoffset = 0;
    TRect itemtextrect;
    QString fontname = QStringLiteral("Arial");
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    int fontcolor = 0;
    int focusfontcolor = 0;
    int activefontcolor = 0;
    QString listboxname;
    TRect buttonrect;
    TRect activebuttonrect;
    TRect downbuttonrect;
    TRect unenabledbuttonrect;
    bool itemstretcheffect = false;
    bool focusitemstretcheffect = false;
    bool showfocus = false;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.rect("activeskinrect", s.activeskinrect);
        v.rect("itemrect", s.itemrect);
        v.rect("activeitemrect", s.activeitemrect);
        v.rect("focusitemrect", s.focusitemrect);
        v.integer("itemleftoffset", s.itemleftoffset);
        v.integer("itemrightoffset", s.itemrightoffset);
        v.rect("itemtextrect", s.itemtextrect);
        v.font("", s.fontname, s.fontheight, s.fontstyle);
        v.integer("fontcolor", s.fontcolor);
        v.integer("focusfontcolor", s.focusfontcolor);
        v.integer("activefontcolor", s.activefontcolor);
        v.string("listboxname", s.listboxname);
        v.rect("buttonrect", s.buttonrect);
        v.rect("activebuttonrect", s.activebuttonrect);
        v.rect("downbuttonrect", s.downbuttonrect);
        v.rect("unenabledbuttonrect", s.unenabledbuttonrect);
        v.boolean("itemstretcheffect", s.itemstretcheffect);
        v.boolean("focusitemstretcheffect", s.focusitemstretcheffect);
        v.boolean("showfocus", s.showfocus);
    }
};

class TbsDataSkinScrollBarControl final : public SkinKeyed<TbsDataSkinScrollBarControl, TbsDataSkinCustomControl>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "scrollbar";

    TRect trackarea;
    TRect upbuttonrect;
    TRect activeupbuttonrect;
    TRect downupbuttonrect;
    TRect downbuttonrect;
    TRect activedownbuttonrect;
    TRect downdownbuttonrect;
    TRect thumbrect;
    TRect activethumbrect;
    TRect downthumbrect;
    int thumboffset1 = 0;
    int thumboffset2 = 0;
    bool thumbtransparent = false;
    int thumbtransparentcolor = 0;
    TRect glyphrect;
    TRect activeglyphrect;
    TRect downglyphrect;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.rect("trackarea", s.trackarea);
        v.rect("upbuttonrect", s.upbuttonrect);
        v.rect("activeupbuttonrect", s.activeupbuttonrect);
        v.rect("downupbuttonrect", s.downupbuttonrect);
        v.rect("downbuttonrect", s.downbuttonrect);
        v.rect("activedownbuttonrect", s.activedownbuttonrect);
        v.rect("downdownbuttonrect", s.downdownbuttonrect);
        v.rect("thumbrect", s.thumbrect);
        v.rect("activethumbrect", s.activethumbrect);
        v.rect("downthumbrect", s.downthumbrect);
        v.integer("thumboffset1", s.thumboffset1);
        v.integer("thumboffset2", s.thumboffset2);
        v.boolean("thumbtransparent", s.thumbtransparent);
        v.integer("thumbtransparentcolor", s.thumbtransparentcolor);
        v.rect("glyphrect", s.glyphrect);
        v.rect("activeglyphrect", s.activeglyphrect);
        v.rect("downglyphrect", s.downglyphrect);
    }
};

class TbsDataSkinSpinEditControl final : public SkinKeyed<TbsDataSkinSpinEditControl, TbsDataSkinCustomControl>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "spinedit";

    TRect activeskinrect;
    QString fontname = QStringLiteral("Arial");
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    int fontcolor = 0;
    int activefontcolor = 0;
    int disabledfontcolor = 0;
    TRect upbuttonrect;
    TRect activeupbuttonrect;
    TRect downupbuttonrect;
    TRect downbuttonrect;
    TRect activedownbuttonrect;
    TRect downdownbuttonrect;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.rect("activeskinrect", s.activeskinrect);
        v.font("", s.fontname, s.fontheight, s.fontstyle);
        v.integer("fontcolor", s.fontcolor);
        v.integer("activefontcolor", s.activefontcolor);
        v.integer("disabledfontcolor", s.disabledfontcolor);
        v.rect("upbuttonrect", s.upbuttonrect);
        v.rect("activeupbuttonrect", s.activeupbuttonrect);
        v.rect("downupbuttonrect", s.downupbuttonrect);
        v.rect("downbuttonrect", s.downbuttonrect);
        v.rect("activedownbuttonrect", s.activedownbuttonrect);
        v.rect("downdownbuttonrect", s.downdownbuttonrect);
    }
};

// Its points and client rectangle are always null, whatever its section says.
class TbsDataSkinUpDownControl final : public SkinKeyed<TbsDataSkinUpDownControl, TbsDataSkinCustomControl>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "updown";
    void LoadData(const SkinIni &ini) override;

    TRect upbuttonrect;
    TRect activeupbuttonrect;
    TRect downupbuttonrect;
    TRect downbuttonrect;
    TRect activedownbuttonrect;
    TRect downdownbuttonrect;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.rect("upbuttonrect", s.upbuttonrect);
        v.rect("activeupbuttonrect", s.activeupbuttonrect);
        v.rect("downupbuttonrect", s.downupbuttonrect);
        v.rect("downbuttonrect", s.downbuttonrect);
        v.rect("activedownbuttonrect", s.activedownbuttonrect);
        v.rect("downdownbuttonrect", s.downdownbuttonrect);
    }
};

class TbsDataSkinGaugeControl final : public SkinKeyed<TbsDataSkinGaugeControl, TbsDataSkinCustomControl>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "gauge";

    TRect progressarea;
    TRect progressrect;
    int beginoffset = 0;
    int endoffset = 0;
    bool vertical = false;
    QString fontname = QStringLiteral("Arial");
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    int fontcolor = 0;
    bool progresstransparent = false;
    int progresstransparentcolor = 0;
    bool progressstretch = false;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.rect("progressarea", s.progressarea);
        v.rect("progressrect", s.progressrect);
        v.integer("beginoffset", s.beginoffset);
        v.integer("endoffset", s.endoffset);
        v.boolean("vertical", s.vertical);
        v.font("", s.fontname, s.fontheight, s.fontstyle);
        v.integer("fontcolor", s.fontcolor);
        v.boolean("progresstransparent", s.progresstransparent);
        v.integer("progresstransparentcolor", s.progresstransparentcolor);
        v.boolean("progressstretch", s.progressstretch);
    }
};

class TbsDataSkinTrackBarControl final : public SkinKeyed<TbsDataSkinTrackBarControl, TbsDataSkinCustomControl>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "trackbar";

    TRect trackarea;
    TRect buttonrect;
    TRect activebuttonrect;
    bool vertical = false;
    bool buttontransparent = false;
    int buttontransparentcolor = 0;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.rect("trackarea", s.trackarea);
        v.rect("buttonrect", s.buttonrect);
        v.rect("activebuttonrect", s.activebuttonrect);
        v.boolean("vertical", s.vertical);
        v.boolean("buttontransparent", s.buttontransparent);
        v.integer("buttontransparentcolor", s.buttontransparentcolor);
    }
};

class TbsDataSkinSplitterControl final : public SkinKeyed<TbsDataSkinSplitterControl, TbsDataSkinCustomControl>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "splitter";

    TRect gripperrect;
    bool grippertransparent = false;
    int grippertransparentcolor = 0;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.rect("gripperrect", s.gripperrect);
        v.boolean("grippertransparent", s.grippertransparent);
        v.integer("grippertransparentcolor", s.grippertransparentcolor);
    }
};

class TbsDataSkinControlBar final : public SkinKeyed<TbsDataSkinControlBar, TbsDataSkinCustomControl>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "controlbar";

    TRect itemrect;
    int bgpictureindex = -1;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.rect("itemrect", s.itemrect);
        v.integer("bgpictureindex", s.bgpictureindex, -1);
    }
};

class TbsDataSkinScrollBoxControl final : public SkinKeyed<TbsDataSkinScrollBoxControl, TbsDataSkinCustomControl>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "scrollbox";

    int bgpictureindex = -1;

    template <class V, class S> static void keys(V &v, S &s) { v.integer("bgpictureindex", s.bgpictureindex, -1); }
};

// The five names are entries of the store's object list.
class TbsDataSkinMainMenuBar final : public SkinKeyed<TbsDataSkinMainMenuBar, TbsDataSkinControl>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "mainmenubar";

    TRect itemsrect;
    QString menubaritem;
    QString closebutton;
    QString minbutton;
    QString maxbutton;
    QString sysmenubutton;
    int trackmarkcolor = 0;
    int trackmarkactivecolor = 0;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.rect("itemsrect", s.itemsrect);
        v.string("menubaritem", s.menubaritem);
        v.string("closebutton", s.closebutton);
        v.string("minbutton", s.minbutton);
        v.string("maxbutton", s.maxbutton);
        v.string("sysmenubutton", s.sysmenubutton);
        v.integer("trackmarkcolor", s.trackmarkcolor);
        v.integer("trackmarkactivecolor", s.trackmarkactivecolor);
    }
};

// `updown` names an entry of the store's control list.
class TbsDataSkinTabControl final : public SkinKeyed<TbsDataSkinTabControl, TbsDataSkinControl>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "tab";

    TRect tabrect;
    TRect activetabrect;
    TRect focustabrect;
    TRect mouseintabrect;
    TRect clientrect;
    int bgpictureindex = -1;
    TPoint lefttoppoint;
    TPoint righttoppoint;
    TPoint leftbottompoint;
    TPoint rightbottompoint;
    int tableftoffset = 0;
    int tabrightoffset = 0;
    TRect tabsbgrect;
    bool tabstretcheffect = false;
    QString fontname = QStringLiteral("Arial");
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    int fontcolor = 0;
    int activefontcolor = 0;
    int focusfontcolor = 0;
    int mouseinfontcolor = 0;
    QString updown;
    bool showfocus = false;
    int focusoffsetx = 0;
    int focusoffsety = 0;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.rect("tabrect", s.tabrect);
        v.rect("activetabrect", s.activetabrect);
        v.rect("focustabrect", s.focustabrect);
        v.rect("mouseintabrect", s.mouseintabrect);
        v.rect("clientrect", s.clientrect);
        v.integer("bgpictureindex", s.bgpictureindex, -1);
        v.point("lefttoppoint", s.lefttoppoint);
        v.point("righttoppoint", s.righttoppoint);
        v.point("leftbottompoint", s.leftbottompoint);
        v.point("rightbottompoint", s.rightbottompoint);
        v.integer("tableftoffset", s.tableftoffset);
        v.integer("tabrightoffset", s.tabrightoffset);
        v.rect("tabsbgrect", s.tabsbgrect);
        v.boolean("tabstretcheffect", s.tabstretcheffect);
        v.font("", s.fontname, s.fontheight, s.fontstyle);
        v.integer("fontcolor", s.fontcolor);
        v.integer("activefontcolor", s.activefontcolor);
        v.integer("focusfontcolor", s.focusfontcolor);
        v.integer("mouseinfontcolor", s.mouseinfontcolor);
        v.string("updown", s.updown);
        v.boolean("showfocus", s.showfocus);
        v.integer("focusoffsetx", s.focusoffsetx);
        v.integer("focusoffsety", s.focusoffsety);
    }
};

class TbsDataSkinGridControl final : public SkinKeyed<TbsDataSkinGridControl, TbsDataSkinControl>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "grid";

    TRect fixedcellrect;
    TRect selectcellrect;
    TRect focuscellrect;
    int fixedcellleftoffset = 0;
    int fixedcellrightoffset = 0;
    TRect fixedcelltextrect;
    int cellleftoffset = 0;
    int cellrightoffset = 0;
    TRect celltextrect;
    int linescolor = 0;
    int bgcolor = 0;
    QString fontname = QStringLiteral("Arial");
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    int fontcolor = 0;
    int selectfontcolor = 0;
    int focusfontcolor = 0;
    QString fixedfontname = QStringLiteral("Arial");
    int fixedfontheight = 14;
    TFontStyles fixedfontstyle = 0;
    int fixedfontcolor = 0;
    bool cellstretcheffect = false;
    bool fixedcellstretcheffect = false;
    bool showfocus = false;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.rect("fixedcellrect", s.fixedcellrect);
        v.rect("selectcellrect", s.selectcellrect);
        v.rect("focuscellrect", s.focuscellrect);
        v.integer("fixedcellleftoffset", s.fixedcellleftoffset);
        v.integer("fixedcellrightoffset", s.fixedcellrightoffset);
        v.rect("fixedcelltextrect", s.fixedcelltextrect);
        v.integer("cellleftoffset", s.cellleftoffset);
        v.integer("cellrightoffset", s.cellrightoffset);
        v.rect("celltextrect", s.celltextrect);
        v.integer("linescolor", s.linescolor);
        v.integer("bgcolor", s.bgcolor);
        v.font("", s.fontname, s.fontheight, s.fontstyle);
        v.integer("fontcolor", s.fontcolor);
        v.integer("selectfontcolor", s.selectfontcolor);
        v.integer("focusfontcolor", s.focusfontcolor);
        v.font("fixed", s.fixedfontname, s.fixedfontheight, s.fixedfontstyle);
        v.integer("fixedfontcolor", s.fixedfontcolor);
        v.boolean("cellstretcheffect", s.cellstretcheffect);
        v.boolean("fixedcellstretcheffect", s.fixedcellstretcheffect);
        v.boolean("showfocus", s.showfocus);
    }
};

// Tree views, list views and rich edits read the same five keys; Word names which of the three it is.
template <const char *Word>
class TbsDataSkinTextView final : public SkinKeyed<TbsDataSkinTextView<Word>, TbsDataSkinControl>
{
public:
    using SkinKeyed<TbsDataSkinTextView<Word>, TbsDataSkinControl>::SkinKeyed;
    static constexpr const char *s_typeWord = Word;

    QString fontname = QStringLiteral("Arial");
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    int fontcolor = 0;
    int bgcolor = 0;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.font("", s.fontname, s.fontheight, s.fontstyle);
        v.integer("fontcolor", s.fontcolor);
        v.integer("bgcolor", s.bgcolor);
    }
};

inline constexpr char s_treeViewWord[] = "treeview";
inline constexpr char s_listViewWord[] = "listview";
inline constexpr char s_richEditWord[] = "richedit";
using TbsDataSkinTreeView = TbsDataSkinTextView<s_treeViewWord>;
using TbsDataSkinListView = TbsDataSkinTextView<s_listViewWord>;
using TbsDataSkinRichEdit = TbsDataSkinTextView<s_richEditWord>;

class TbsDataSkinBevel final : public SkinKeyed<TbsDataSkinBevel, TbsDataSkinControl>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "bevel";

    int lightcolor = 0;
    int darkcolor = 0;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.integer("lightcolor", s.lightcolor);
        v.integer("darkcolor", s.darkcolor);
    }
};

class TbsDataSkinSlider final : public SkinKeyed<TbsDataSkinSlider, TbsDataSkinControl>
{
public:
    using SkinKeyed::SkinKeyed;
    static constexpr const char *s_typeWord = "slider";

    int bgcolor = 0;
    TRect hrulerrect;
    TRect hthumbrect;
    TRect vrulerrect;
    TRect vthumbrect;
    int edgesize = 0;
    int pointscolor = 0;

    template <class V, class S> static void keys(V &v, S &s)
    {
        v.integer("bgcolor", s.bgcolor);
        v.rect("hrulerrect", s.hrulerrect);
        v.rect("hthumbrect", s.hthumbrect);
        v.rect("vrulerrect", s.vrulerrect);
        v.rect("vthumbrect", s.vthumbrect);
        v.integer("edgesize", s.edgesize);
        v.integer("pointscolor", s.pointscolor);
    }
};

// The data object for a [SKINCONTROLS] type word (compared exactly), or null for a word of no class.
std::unique_ptr<TbsDataSkinControl> CreateSkinControlData(const QString &typeWord, const QString &name);

} // namespace pixolo
