#include "Description.h"

#include "Layout.h"
#include "Palette.h"

#include "skin/SkinIni.h"
#include "skin/SkinKeys.h"

namespace pixolo
{

using namespace palette;
namespace L = layout;

namespace
{

// Picture numbers of the [PICTURES] list.
enum Picture { controls, menuItems, popup, captionButtons, popupMask, panels, extras, hint };

class Description
{
public:
    SkinKeyWriter section(const char *name) { return SkinKeyWriter(m_ini, QString::fromLatin1(name)); }
    QStringList lines() const { return m_ini.GetStrings(); }

private:
    SkinIni m_ini;
};

void font(SkinKeyWriter &s, QColor colour, TFontStyles style = 0)
{
    s.font("", QStringLiteral("Arial"), 14, style);
    s.integer("fontcolor", skinColour(colour));
}

void corners(SkinKeyWriter &s, TPoint lt, TPoint rt, TPoint lb, TPoint rb)
{
    s.point("lefttoppoint", lt);
    s.point("righttoppoint", rt);
    s.point("leftbottompoint", lb);
    s.point("rightbottompoint", rb);
}

// A control image that grows in width only: fixed left and right parts, the middle tiled.
void growsInWidth(SkinKeyWriter &s, const TRect &skin, int left, int right, const TRect &clientRect)
{
    s.rect("skinrect", skin);
    const int middle = RectHeight(skin) / 2;
    corners(s, { left, middle }, { RectWidth(skin) - right, middle }, {}, {});
    s.rect("clientrect", clientRect);
}

// A control image that grows both ways, cut `edge` pixels in from every side.
void growsBothWays(SkinKeyWriter &s, const TRect &skin, int edge, const TRect &clientRect)
{
    s.rect("skinrect", skin);
    const int w = RectWidth(skin);
    const int h = RectHeight(skin);
    corners(s, { edge, edge }, { w - edge, edge }, { edge, h - edge }, { w - edge, h - edge });
    s.rect("clientrect", clientRect);
}

void versionAndPictures(Description &d)
{
    auto v = d.section("VERSION");
    v.string("ver", QStringLiteral("3"));
    v.string("skinname", QStringLiteral("Pixolo"));
    v.string("skinauthor", QStringLiteral("The Pixolo developers"));
    v.string("skincomments", QStringLiteral("Steel-blue frame, light surfaces, one orange accent."));
    auto p = d.section("PICTURES");
    p.string("picture", QString::fromLatin1(s_frameFile));
    p.string("inactivepicture", QString());
    p.string("mask", QString::fromLatin1(s_maskFile));
    p.integer("activepicturescount", int(std::size(s_pictureFiles)));
    for (size_t i = 0; i < std::size(s_pictureFiles); ++i) {
        p.string(std::to_string(i).c_str(), QString::fromLatin1(s_pictureFiles[i]));
    }
}

void formInfo(Description &d)
{
    auto f = d.section("FORMINFO");
    corners(f, L::lefttop, L::righttop, L::leftbottom, L::rightbottom);
    f.rect("clientrect", L::client);
    f.integer("bgpictureindex", -1);
    f.rect("maskrectarea", L::maskArea);
    // Sizing corners: 16 pixels in from each corner of the picture.
    f.point("hittestlefttoppoint", { 16, 16 });
    f.point("hittestrighttoppoint", { L::formWidth - 16, 16 });
    f.point("hittestleftbottompoint", { 16, L::formHeight - 16 });
    f.point("hittestrightbottompoint", { L::formWidth - 16, L::formHeight - 16 });
    f.integer("borderwidth", 5);
    f.rect("mainmenurect", {});
    f.rect("iconrect", L::sysMenu);
    f.boolean("autorenderinginactiveimage", false);
    f.inactiveEffect("inactiveeffect", ieBrightness);
}

void windows(Description &d)
{
    auto p = d.section("POPUPWINDOW");
    p.integer("windowpictureindex", popup);
    p.integer("maskpictureindex", popupMask);
    growsBothWays(p, { 0, 0, L::popupSize, L::popupSize }, 4, {});
    p.rect("itemsrect", { 3, 3, L::popupSize - 3, L::popupSize - 3 });
    p.integer("scrollmarkercolor", skinColour(ink));
    p.integer("scrollmarkeractivecolor", skinColour(accent));

    auto h = d.section("HINTWINDOW");
    h.integer("windowpictureindex", hint);
    h.integer("maskpictureindex", -1);
    corners(h, { 9, 1 }, { 27, 1 }, { 9, 15 }, { 27, 15 });
    h.rect("clientrect", { 9, 1, 28, 16 });
    font(h, Qt::black);
}

struct FrameButton {
    const char *name;
    const char *hint;
    TbsStdCommand command;
    int index; // in L::frameButtons
};

void objects(Description &d)
{
    const FrameButton buttons[] = { { "rollupbutton", "RollUp", cmRollUp, 1 }, { "closebutton", "Close", cmClose, 4 },
        { "minbutton", "Minimize", cmMinimize, 2 }, { "maxbutton", "Maximize", cmMaximize, 3 },
        { "sysmenubutton", "System menu", cmSysMenu, 0 } };
    const char *menuBarButtons[] = { "mmsysmenubutton", "mmminbutton", "mmmaxbutton", "mmclosebutton" };
    const TbsStdCommand menuBarCommands[] = { cmSysMenu, cmMinimize, cmMaximize, cmClose };

    auto list = d.section("SKINOBJECTS");
    QStringList entries { QStringLiteral("caption1:caption") };
    for (const FrameButton &b : buttons) {
        entries.append(QString::fromLatin1(b.name) + QStringLiteral(":stdbutton"));
    }
    entries.append(QStringLiteral("MENUITEM:menuitem"));
    entries.append(QStringLiteral("MAINMENUBARITEM:mainmenubaritem"));
    for (const char *name : menuBarButtons) {
        entries.append(QString::fromLatin1(name) + QStringLiteral(":mainmenubarbutton"));
    }
    list.integer("count", int(entries.size()));
    for (qsizetype i = 0; i < entries.size(); ++i) {
        list.string(std::to_string(i).c_str(), entries[i]);
    }

    // The caption: white bold text with a black shadow, silver while the window is inactive.
    auto c = d.section("caption1");
    c.rect("skinrect", L::caption);
    c.rect("textrect", { 2, 1, RectWidth(L::caption) - 1, 14 });
    font(c, QColor(0xc0, 0xc0, 0xc0), fsBold);
    c.integer("activefontcolor", skinColour(white));
    c.alignment("alignment", taCenter);
    c.boolean("shadow", true);
    c.integer("shadowcolor", 0);
    c.integer("activeshadowcolor", 0);

    // The caption buttons: their normal look is part of the frame picture, the pressed one in picture 3.
    for (const FrameButton &b : buttons) {
        auto s = d.section(b.name);
        s.string("hint", QString::fromLatin1(b.hint));
        s.integer("activepictureindex", captionButtons);
        s.boolean("skinrectinapicture", false);
        s.rect("skinrect", L::frameButtons[size_t(b.index)]);
        s.rect("downrect", L::pressed(b.index));
        if (b.command == cmMinimize) {
            s.rect("disableskinrsect", L::minimizeDisabled);
        }
        s.command("command", b.command);
    }

    // Popup menu items: black text, orange on the highlighted item, grey when disabled.
    auto m = d.section("MENUITEM");
    m.integer("activepictureindex", menuItems);
    m.rect("skinrect", L::menuItem);
    m.rect("activeskinrect", L::menuItemActive);
    m.rect("dividerrect", L::menuDivider);
    m.integer("itemleftoffset", L::menuGlyphColumn + 1);
    m.integer("itemrightoffset", 4);
    m.integer("dividerleftoffset", L::menuGlyphColumn + 1);
    m.integer("dividerrightoffset", 4);
    m.rect("textrect", { 12, 0, RectWidth(L::menuItem) - 4, RectHeight(L::menuItem) });
    font(m, Qt::black);
    m.integer("activefontcolor", skinColour(accent));
    m.integer("unenabledfontcolor", skinColour(menuGrey));

    auto bar = d.section("MAINMENUBARITEM");
    bar.integer("activepictureindex", extras);
    bar.boolean("skinrectinapicture", true);
    bar.rect("skinrect", L::menuBarItem[0]);
    bar.rect("activeskinrect", L::menuBarItem[1]);
    bar.rect("downrect", L::menuBarItem[2]);
    bar.integer("itemleftoffset", 4);
    bar.integer("itemrightoffset", 4);
    bar.rect("textrect", { 4, 0, RectWidth(L::menuBarItem[0]) - 4, RectHeight(L::menuBarItem[0]) });
    font(bar, ink);
    bar.integer("activefontcolor", skinColour(inkActive));
    bar.integer("downfontcolor", skinColour(inkDown));
    bar.integer("unenabledfontcolor", skinColour(inkDisabled));
    for (int i = 0; i < 4; ++i) {
        auto s = d.section(menuBarButtons[i]);
        s.integer("activepictureindex", extras);
        s.boolean("skinrectinapicture", true);
        s.rect("skinrect", L::menuBarButton(i, false));
        s.rect("downrect", L::menuBarButton(i, true));
        s.command("command", menuBarCommands[i]);
    }
}

// ---- controls the windows use ----------------------------------------------------------------------------------

void buttonFonts(SkinKeyWriter &s)
{
    font(s, ink);
    s.integer("activefontcolor", skinColour(inkActive));
    s.integer("downfontcolor", skinColour(inkDown));
    s.integer("disabledfontcolor", skinColour(inkDisabled));
    s.boolean("morphing", true);
    s.morphKind("morphkind", mkDefault);
}

void buttonStates(SkinKeyWriter &s, const std::array<TRect, 4> &states)
{
    s.integer("pictureindex", controls);
    s.rect("activeskinrect", states[1]);
    s.rect("downskinrect", states[2]);
    s.rect("disabledskinrect", states[3]);
}

void buttons(Description &d)
{
    // The push button grows in width only (mode 2): 10 columns on the left and 14 on the right stay.
    auto b = d.section("button");
    buttonStates(b, L::button);
    growsInWidth(b, L::button[0], 10, 14, { 3, 2, RectWidth(L::button[0]) - 3, 19 });
    b.point("righttoppoint", { 52, 11 });
    b.boolean("stretcheffect", false);
    buttonFonts(b);

    auto r = d.section("resizebutton");
    buttonStates(r, L::button);
    growsInWidth(r, L::button[0], 10, 14, { 3, 2, RectWidth(L::button[0]) - 3, 19 });
    r.boolean("stretcheffect", true);
    buttonFonts(r);

    // The tool button keeps its skin size (all points zero).
    auto t = d.section("toolbutton");
    buttonStates(t, L::tool);
    t.rect("skinrect", L::tool[0]);
    t.rect("clientrect", { 2, 2, 23, 23 });
    buttonFonts(t);

    auto big = d.section("bigtoolbutton");
    buttonStates(big, L::tool);
    growsBothWays(big, L::tool[0], 6, { 3, 3, 22, 22 });
    big.boolean("stretcheffect", true);
    buttonFonts(big);
}

void checkBoxes(Description &d)
{
    for (const bool round : { false, true }) {
        auto s = d.section(round ? "radiobox" : "checkbox");
        const auto image = [round](int i) { return round ? L::radioImage(i) : L::checkImage(i); };
        s.integer("pictureindex", controls);
        growsInWidth(s, L::checkBack[0], 20, 4, { 20, 0, RectWidth(L::checkBack[0]) - 2, RectHeight(L::checkBack[0]) });
        s.rect("activeskinrect", L::checkBack[1]);
        s.rect("checkimagearea", { 3, 4, 17, 18 });
        s.rect("textarea", { 21, 0, RectWidth(L::checkBack[0]) - 2, RectHeight(L::checkBack[0]) });
        s.rect("uncheckimagerect", image(0));
        s.rect("checkimagerect", image(1));
        s.rect("activeuncheckimagerect", image(2));
        s.rect("activecheckimagerect", image(3));
        s.rect("unenableduncheckimagerect", image(4));
        s.rect("unenabledcheckimagerect", image(5));
        font(s, ink);
        s.integer("activefontcolor", skinColour(inkActive));
        s.integer("unenabledfontcolor", skinColour(inkDisabled));
        s.integer("framefontcolor", skinColour(ink));
        s.boolean("morphing", true);
        s.morphKind("morphkind", mkDefault);
    }
}

void edits(Description &d)
{
    auto e = d.section("edit");
    e.integer("pictureindex", controls);
    growsInWidth(e, L::edit[0], 4, 4, { 4, 3, RectWidth(L::edit[0]) - 4, 19 });
    e.rect("activeskinrect", L::edit[1]);
    font(e, Qt::black);
    e.integer("activefontcolor", skinColour(inkActive));
    e.integer("disabledfontcolor", skinColour(inkDisabled));

    auto b = d.section("buttonedit");
    b.integer("pictureindex", controls);
    growsInWidth(b, L::buttonEdit[0], 4, 22, { 4, 3, 38, 19 });
    b.rect("activeskinrect", L::buttonEdit[1]);
    font(b, Qt::black);
    b.integer("activefontcolor", skinColour(inkActive));
    b.integer("disabledfontcolor", skinColour(inkDisabled));
    b.rect("buttonrect", L::buttonEditButton);
    b.rect("activebuttonrect", L::editButton[0]);
    b.rect("downbuttonrect", L::editButton[1]);
    b.rect("unenabledbuttonrect", L::editButton[2]);
}

void labels(Description &d)
{
    auto l = d.section("label");
    l.integer("pictureindex", controls);
    growsInWidth(l, L::label, 4, 4, { 6, 2, RectWidth(L::label) - 6, 19 });
    font(l, ink);

    auto s = d.section("statuspanel");
    s.integer("pictureindex", controls);
    growsInWidth(s, L::statusPanel, 3, 3, { 5, 1, RectWidth(L::statusPanel) - 5, 17 });
    font(s, QColor(0x2c, 0x42, 0x57));

    // A standard label takes only its font: dark text, orange while the pointer is over a link.
    auto plain = d.section("stdlabel");
    font(plain, ink);
    plain.integer("activefontcolor", skinColour(accent));
}

// Every panel section names the roll-up and restore markers; the panel class itself does not read them.
void rollUpMarkers(SkinKeyWriter &s)
{
    s.rect("rollupmarkerrect", L::markFrame);
    s.rect("restoremarkerrect", L::markFrame);
}

void panelCaption(SkinKeyWriter &s, const TRect &captionRect, QColor colour)
{
    s.rect("captionrect", captionRect);
    s.alignment("alignment", taLeftJustify);
    font(s, colour, fsBold);
}

void panelsOfWindows(Description &d)
{
    // The main window's panels: a three-pixel recessed frame around a flat surface that tiles.
    auto p = d.section("panel");
    p.integer("pictureindex", panels);
    growsBothWays(p, L::panel, 4, { 3, 3, 37, 37 });
    p.integer("bgpictureindex", -1);
    font(p, ink);
    rollUpMarkers(p);

    // The status bar grows in width only, whatever height the window asks for.
    auto s = d.section("statusbar");
    s.integer("pictureindex", panels);
    growsInWidth(s, L::statusBar, 4, 4, { 3, 3, RectWidth(L::statusBar) - 3, 21 });
    s.rect("gripperrect", L::gripper);
    s.boolean("grippertransparent", true);
    s.integer("grippertransparentcolor", skinColour(key));
    font(s, ink);
    rollUpMarkers(s);

    auto t = d.section("toolpanel");
    t.integer("pictureindex", panels);
    growsBothWays(t, L::toolPanel, 4, { 2, 2, 38, 26 });
    font(t, ink);
    rollUpMarkers(t);

    auto big = d.section("bigtoolpanel");
    big.integer("pictureindex", panels);
    growsBothWays(big, L::bigToolPanel, 4, { 2, 2, 38, 38 });
    font(big, ink);
    rollUpMarkers(big);

    auto g = d.section("groupbox");
    g.integer("pictureindex", panels);
    g.rect("skinrect", L::groupBox);
    corners(g, { 12, 20 }, { 48, 20 }, { 12, 48 }, { 48, 48 });
    g.rect("clientrect", { 6, 18, 54, 54 });
    panelCaption(g, { 10, 0, 50, 15 }, ink);
    g.rect("framerect", L::groupPlate);
    g.rect("frametextrect", { 3, 0, 17, 15 });
    g.integer("frameleftoffset", 3);
    g.integer("framerightoffset", 3);
    rollUpMarkers(g);

    auto r = d.section("rolluppanel");
    r.integer("pictureindex", panels);
    r.rect("skinrect", L::rollUpPanel);
    corners(r, { 6, 24 }, { 54, 24 }, { 6, 54 }, { 54, 54 });
    r.rect("clientrect", { 2, 21, 58, 58 });
    panelCaption(r, { 6, 2, 44, 19 }, white);
    r.rect("markframerect", L::markFrame);
    rollUpMarkers(r);
}

// ---- the kinds of control Pixolo does not use: complete, so the skin serves any window ------------------------

void arrows(SkinKeyWriter &s, L::Direction first, L::Direction second)
{
    s.rect("upbuttonrect", L::arrow(L::normal, first));
    s.rect("activeupbuttonrect", L::arrow(L::active, first));
    s.rect("downupbuttonrect", L::arrow(L::pushed, first));
    s.rect("downbuttonrect", L::arrow(L::normal, second));
    s.rect("activedownbuttonrect", L::arrow(L::active, second));
    s.rect("downdownbuttonrect", L::arrow(L::pushed, second));
}

void wellFrame(SkinKeyWriter &s)
{
    s.integer("pictureindex", controls);
    growsBothWays(s, L::well, 4, { 2, 2, 38, 38 });
    font(s, Qt::black);
}

void otherControls(Description &d)
{
    auto ex = d.section("expanel");
    ex.integer("pictureindex", panels);
    ex.rect("skinrect", L::exPanel);
    corners(ex, { 6, 24 }, { 54, 24 }, { 6, 54 }, { 54, 54 });
    ex.rect("clientrect", { 2, 21, 58, 58 });
    ex.rect("rollhskinrect", L::exPanel);
    ex.rect("rollvskinrect", L::exPanel);
    for (const char *k : { "rollleftoffset", "rollrightoffset", "rolltopoffset", "rollbottomoffset" }) {
        ex.integer(k, 6);
    }
    ex.rect("rollhcaptionrect", { 6, 2, 40, 19 });
    ex.rect("rollvcaptionrect", { 2, 6, 19, 54 });
    const char *rows[] = { "closebutton", "hrollbutton", "hrestorebutton", "vrollbutton", "vrestorebutton" };
    const int art[] = { 0, 1, 2, 1, 2 };
    for (int i = 0; i < 5; ++i) {
        const std::string base = std::string(rows[i]);
        ex.rect((base + "rect").c_str(), L::panelButton(art[i], 0));
        ex.rect((base + "activerect").c_str(), L::panelButton(art[i], 1));
        ex.rect((base + "downrect").c_str(), L::panelButton(art[i], 2));
    }
    ex.rect("captionrect", { 6, 2, 40, 19 });
    font(ex, white, fsBold);

    for (const bool isTool : { false, true }) {
        auto m = d.section(isTool ? "toolmenubutton" : "menubutton");
        buttonStates(m, isTool ? L::tool : L::button);
        if (isTool) {
            m.rect("skinrect", L::tool[0]);
            m.rect("clientrect", { 2, 2, 23, 23 });
        } else {
            growsInWidth(m, L::button[0], 10, 14, { 3, 2, RectWidth(L::button[0]) - 3, 19 });
        }
        buttonFonts(m);
        m.rect("trackbuttonrect", L::editButton[0]);
    }

    const struct {
        const char *name;
        TRect skin;
        TRect bar;
        bool vertical;
    } gauges[] = { { "gauge", L::gauge, L::gaugeBar, false }, { "vgauge", L::vGauge, L::vGaugeBar, true },
        { "smallgauge", L::smallGauge, L::smallGaugeBar, false } };
    for (const auto &g : gauges) {
        auto s = d.section(g.name);
        s.integer("pictureindex", extras);
        const int w = RectWidth(g.skin);
        const int h = RectHeight(g.skin);
        s.rect("skinrect", g.skin);
        if (g.vertical) {
            corners(s, { w / 2, 4 }, {}, { w / 2, h - 4 }, {});
        } else {
            corners(s, { 4, h / 2 }, { w - 4, h / 2 }, {}, {});
        }
        const TRect area { 2, 2, w - 2, h - 2 };
        s.rect("clientrect", area);
        s.rect("progressarea", area);
        s.rect("progressrect", g.bar);
        s.integer("beginoffset", 2);
        s.integer("endoffset", 2);
        s.boolean("vertical", g.vertical);
        font(s, ink);
    }

    for (const bool vertical : { false, true }) {
        auto sp = d.section(vertical ? "vsplitter" : "hsplitter");
        sp.integer("pictureindex", extras);
        const TRect skin = vertical ? L::vSplitter : L::hSplitter;
        sp.rect("skinrect", skin);
        if (vertical) {
            corners(sp, { 3, 2 }, {}, { 3, RectHeight(skin) - 2 }, {});
        } else {
            corners(sp, { 2, 3 }, { RectWidth(skin) - 2, 3 }, {}, {});
        }
        sp.rect("gripperrect", vertical ? L::vGrip : L::hGrip);

        auto tb = d.section(vertical ? "vtrackbar" : "htrackbar");
        tb.integer("pictureindex", extras);
        const TRect track = vertical ? L::vTrackBar : L::hTrackBar;
        tb.rect("skinrect", track);
        if (vertical) {
            corners(tb, { 10, 8 }, {}, { 10, RectHeight(track) - 8 }, {});
            tb.rect("trackarea", { 0, 5, 20, RectHeight(track) - 5 });
        } else {
            corners(tb, { 8, 10 }, { RectWidth(track) - 8, 10 }, {}, {});
            tb.rect("trackarea", { 5, 0, RectWidth(track) - 5, 20 });
        }
        const auto &thumb = vertical ? L::vTrackThumb : L::hTrackThumb;
        tb.rect("buttonrect", thumb[0]);
        tb.rect("activebuttonrect", thumb[1]);
        tb.boolean("vertical", vertical);

        auto ud = d.section(vertical ? "updown" : "hupdown");
        ud.integer("pictureindex", extras);
        ud.rect("skinrect", L::arrow(L::normal, vertical ? L::up : L::left));
        arrows(ud, vertical ? L::up : L::left, vertical ? L::down : L::right);
    }

    for (const char *name : { "grid", "dbgrid" }) {
        auto g = d.section(name);
        g.integer("pictureindex", extras);
        g.rect("fixedcellrect", L::menuBarItem[0]);
        g.rect("selectcellrect", L::menuBarItem[1]);
        g.rect("focuscellrect", L::menuBarItem[1]);
        g.integer("fixedcellleftoffset", 4);
        g.integer("fixedcellrightoffset", 4);
        g.rect("fixedcelltextrect", { 4, 0, 36, 20 });
        g.rect("celltextrect", { 2, 0, 38, 20 });
        g.integer("linescolor", skinColour(line));
        g.integer("bgcolor", skinColour(white));
        font(g, Qt::black);
        g.integer("selectfontcolor", skinColour(inkActive));
        g.integer("focusfontcolor", skinColour(inkActive));
        g.font("fixed", QStringLiteral("Arial"), 14, fsBold);
        g.integer("fixedfontcolor", skinColour(ink));
    }

    for (const char *name : { "tab", "tabset" }) {
        auto t = d.section(name);
        t.integer("pictureindex", extras);
        t.rect("skinrect", L::tabPage);
        t.rect("tabrect", L::tab[0]);
        t.rect("activetabrect", L::tab[1]);
        t.rect("focustabrect", L::tab[1]);
        t.rect("mouseintabrect", L::tab[2]);
        t.rect("clientrect", { 1, 1, 39, 39 });
        corners(t, { 4, 4 }, { 36, 4 }, { 4, 36 }, { 36, 36 });
        t.integer("tableftoffset", 4);
        t.integer("tabrightoffset", 4);
        font(t, ink);
        t.integer("activefontcolor", skinColour(Qt::black));
        t.integer("focusfontcolor", skinColour(Qt::black));
        t.integer("mouseinfontcolor", skinColour(inkActive));
        t.string("updown", QStringLiteral("hupdown"));
    }

    auto mb = d.section("mainmenubar");
    mb.integer("pictureindex", extras);
    mb.rect("skinrect", L::menuBar);
    mb.rect("itemsrect", { 2, 1, RectWidth(L::menuBar) - 2, RectHeight(L::menuBar) - 1 });
    mb.string("menubaritem", QStringLiteral("MAINMENUBARITEM"));
    mb.string("closebutton", QStringLiteral("mmclosebutton"));
    mb.string("minbutton", QStringLiteral("mmminbutton"));
    mb.string("maxbutton", QStringLiteral("mmmaxbutton"));
    mb.string("sysmenubutton", QStringLiteral("mmsysmenubutton"));
    mb.integer("trackmarkcolor", skinColour(ink));
    mb.integer("trackmarkactivecolor", skinColour(accent));

    auto cb = d.section("controlbar");
    cb.integer("pictureindex", extras);
    growsBothWays(cb, L::controlBar, 4, { 2, 2, RectWidth(L::controlBar) - 2, RectHeight(L::controlBar) - 2 });
    cb.rect("itemrect", L::controlBar);

    auto memo = d.section("memo");
    wellFrame(memo);
    memo.rect("activeskinrect", L::well);
    memo.integer("bgcolor", skinColour(white));
    memo.integer("activebgcolor", skinColour(white));

    for (const char *name : { "listbox", "checklistbox" }) {
        auto l = d.section(name);
        wellFrame(l);
        l.rect("itemtextrect", { 4, 0, 36, 18 });
        l.integer("activefontcolor", skinColour(inkActive));
        l.integer("focusfontcolor", skinColour(inkActive));
        if (QLatin1String(name) == u"checklistbox") {
            l.rect("itemcheckrect", { 2, 2, 16, 16 });
            l.rect("uncheckimagerect", L::checkImage(0));
            l.rect("checkimagerect", L::checkImage(1));
        }
    }

    for (const char *name : { "combobox", "toolcombobox" }) {
        auto c = d.section(name);
        c.integer("pictureindex", controls);
        growsInWidth(c, L::buttonEdit[0], 4, 22, { 4, 3, 38, 19 });
        c.rect("activeskinrect", L::buttonEdit[1]);
        c.rect("itemtextrect", { 2, 0, 34, 16 });
        font(c, Qt::black);
        c.integer("activefontcolor", skinColour(inkActive));
        c.integer("focusfontcolor", skinColour(inkActive));
        c.string("listboxname", QStringLiteral("listbox"));
        c.rect("buttonrect", L::buttonEditButton);
        c.rect("activebuttonrect", L::editButton[0]);
        c.rect("downbuttonrect", L::editButton[1]);
        c.rect("unenabledbuttonrect", L::editButton[2]);
    }

    for (const char *name : { "hscrollbar", "vscrollbar", "bothhscrollbar" }) {
        const bool vertical = QLatin1String(name) == u"vscrollbar";
        auto s = d.section(name);
        s.integer("pictureindex", extras);
        const TRect skin = vertical ? L::vTrack : L::hTrack;
        s.rect("skinrect", skin);
        const TRect track
            = vertical ? TRect { 0, 16, 16, RectHeight(skin) - 16 } : TRect { 16, 0, RectWidth(skin) - 16, 16 };
        if (vertical) {
            corners(s, { 8, 16 }, {}, { 8, RectHeight(skin) - 16 }, {});
        } else {
            corners(s, { 16, 8 }, { RectWidth(skin) - 16, 8 }, {}, {});
        }
        s.rect("clientrect", track);
        s.rect("trackarea", track);
        arrows(s, vertical ? L::up : L::left, vertical ? L::down : L::right);
        s.rect("thumbrect", vertical ? L::vThumb(L::normal) : L::hThumb(L::normal));
        s.rect("activethumbrect", vertical ? L::vThumb(L::active) : L::hThumb(L::active));
        s.rect("downthumbrect", vertical ? L::vThumb(L::pushed) : L::hThumb(L::pushed));
        s.integer("thumboffset1", 4);
        s.integer("thumboffset2", 4);
    }

    for (const char *name : { "spinedit", "toolspinedit" }) {
        auto s = d.section(name);
        s.integer("pictureindex", controls);
        growsInWidth(s, L::edit[0], 4, 4, { 4, 3, RectWidth(L::edit[0]) - 20, 19 });
        s.rect("activeskinrect", L::edit[1]);
        font(s, Qt::black);
        s.integer("activefontcolor", skinColour(inkActive));
        s.integer("disabledfontcolor", skinColour(inkDisabled));
        s.rect("upbuttonrect", L::spinArrow(0, false));
        s.rect("activeupbuttonrect", L::spinArrow(1, false));
        s.rect("downupbuttonrect", L::spinArrow(2, false));
        s.rect("downbuttonrect", L::spinArrow(0, true));
        s.rect("activedownbuttonrect", L::spinArrow(1, true));
        s.rect("downdownbuttonrect", L::spinArrow(2, true));
    }

    auto sb = d.section("scrollbox");
    sb.integer("pictureindex", panels);
    growsBothWays(sb, L::panel, 4, { 3, 3, 37, 37 });
    sb.integer("bgpictureindex", -1);

    for (const char *name : { "treeview", "listview", "richedit" }) {
        auto v = d.section(name);
        font(v, Qt::black);
        v.integer("bgcolor", skinColour(white));
    }

    auto bevel = d.section("bevel");
    bevel.integer("lightcolor", skinColour(white));
    bevel.integer("darkcolor", skinColour(line));

    auto slider = d.section("slider");
    slider.integer("pictureindex", extras);
    slider.integer("bgcolor", skinColour(surface));
    slider.rect("hrulerrect", L::hTrack);
    slider.rect("hthumbrect", L::hThumb(L::normal));
    slider.rect("vrulerrect", L::vTrack);
    slider.rect("vthumbrect", L::vThumb(L::normal));
    slider.integer("edgesize", 2);
    slider.integer("pointscolor", skinColour(lineDark));

    // A kind of entry no class reads: the store skips it.
    auto header = d.section("header");
    header.integer("pictureindex", extras);
    header.rect("skinrect", L::menuBarItem[0]);
    font(header, ink);
}

void controlList(Description &d)
{
    const char *entries[] = { // the entries Pixolo's windows use
        "panel:panel", "button:button", "toolbutton:button", "checkbox:checkradio", "edit:edit", "label:label",
        "statuspanel:label", "stdlabel:stdlabel", "statusbar:panel",
        // the rest of the family
        "radiobox:checkradio", "buttonedit:edit", "toolpanel:panel", "groupbox:panel", "bigtoolpanel:panel",
        "rolluppanel:panel", "resizebutton:button", "bigtoolbutton:button", "expanel:expanel", "menubutton:menubutton",
        "toolmenubutton:menubutton", "gauge:gauge", "vgauge:gauge", "smallgauge:gauge", "hsplitter:splitter",
        "vsplitter:splitter", "htrackbar:trackbar", "vtrackbar:trackbar", "updown:updown", "hupdown:updown",
        "grid:grid", "dbgrid:grid", "tab:tab", "tabset:tab", "mainmenubar:mainmenubar", "controlbar:controlbar",
        "memo:memo", "checklistbox:checklistbox", "listbox:listbox", "combobox:combobox", "toolcombobox:combobox",
        "hscrollbar:scrollbar", "vscrollbar:scrollbar", "bothhscrollbar:scrollbar", "spinedit:spinedit",
        "toolspinedit:spinedit", "scrollbox:scrollbox", "treeview:treeview", "bevel:bevel", "slider:slider",
        "listview:listview", "richedit:richedit",
        // last, an entry of a kind no class reads
        "header:header"
    };
    auto list = d.section("SKINCONTROLS");
    list.integer("count", int(std::size(entries)));
    for (size_t i = 0; i < std::size(entries); ++i) {
        list.string(std::to_string(i).c_str(), QString::fromLatin1(entries[i]));
    }
}

} // namespace

QStringList skinDescription()
{
    Description d;
    versionAndPictures(d);
    formInfo(d);
    windows(d);
    objects(d);
    controlList(d);
    panelsOfWindows(d);
    buttons(d);
    checkBoxes(d);
    edits(d);
    labels(d);
    otherControls(d);
    QStringList lines { QStringLiteral("; Pixolo's own skin. Made by pixolo-skinart (tools/skinart): change the art "
                                       "or the places there and run it again."),
        QString() };
    lines += d.lines();
    return lines;
}

} // namespace pixolo
