#pragma once

#include "skin/SkinKeys.h"
#include "skin/SkinTypes.h"

#include <QString>

namespace pixolo {

class SkinIni;

// The keys that both window sections share: the pictures and corner points first, the stretch flags last.
template <class V, class S> void windowKeys(V &v, S &s)
{
    v.integer("windowpictureindex", s.windowpictureindex, -1);
    v.integer("maskpictureindex", s.maskpictureindex, -1);
    v.point("lefttoppoint", s.lefttoppoint);
    v.point("righttoppoint", s.righttoppoint);
    v.point("leftbottompoint", s.leftbottompoint);
    v.point("rightbottompoint", s.rightbottompoint);
}

template <class V, class S> void stretchKeys(V &v, S &s)
{
    v.boolean("leftstretch", s.leftstretch);
    v.boolean("rightstretch", s.rightstretch);
    v.boolean("topstretch", s.topstretch);
    v.boolean("bottomstretch", s.bottomstretch);
}

// [POPUPWINDOW]: the popup menu window. Its whole picture is the skin; the points split it into corners and
// edges, `itemsrect` is where the items go.
class TbsDataSkinPopupWindow {
public:
    void LoadFromIni(const SkinIni &ini);

    int windowpictureindex = -1;
    int maskpictureindex = -1;
    TPoint lefttoppoint;
    TPoint righttoppoint;
    TPoint leftbottompoint;
    TPoint rightbottompoint;
    TRect itemsrect;
    int scrollmarkercolor = 0;
    int scrollmarkeractivecolor = 0;
    bool leftstretch = false;
    bool rightstretch = false;
    bool topstretch = false;
    bool bottomstretch = false;

    template <class V, class S> static void keys(V &v, S &s)
    {
        windowKeys(v, s);
        v.rect("itemsrect", s.itemsrect);
        v.integer("scrollmarkercolor", s.scrollmarkercolor);
        v.integer("scrollmarkeractivecolor", s.scrollmarkeractivecolor);
        stretchKeys(v, s);
    }
};

// [HINTWINDOW]: the hint window; the text goes into `clientrect`.
class TbsDataSkinHintWindow {
public:
    void LoadFromIni(const SkinIni &ini);

    int windowpictureindex = -1;
    int maskpictureindex = -1;
    TPoint lefttoppoint;
    TPoint righttoppoint;
    TPoint leftbottompoint;
    TPoint rightbottompoint;
    TRect clientrect;
    QString fontname = QStringLiteral("Arial");
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    int fontcolor = 0;
    bool leftstretch = false;
    bool rightstretch = false;
    bool topstretch = false;
    bool bottomstretch = false;

    template <class V, class S> static void keys(V &v, S &s)
    {
        windowKeys(v, s);
        v.rect("clientrect", s.clientrect);
        v.font("", s.fontname, s.fontheight, s.fontstyle);
        v.integer("fontcolor", s.fontcolor);
        stretchKeys(v, s);
    }
};

} // namespace pixolo
