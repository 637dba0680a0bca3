#pragma once

#include "skin/SkinKeys.h"
#include "skin/SkinTypes.h"

#include <QString>

namespace pixolo
{

class SkinIni;

// What both window sections hold: the window's picture (its whole area is the skin), the picture of its shape mask,
// the corner points that split the picture, and whether each edge is stretched instead of tiled.
struct SkinWindowData {
    int windowpictureindex = -1;
    int maskpictureindex = -1;
    TPoint lefttoppoint;
    TPoint righttoppoint;
    TPoint leftbottompoint;
    TPoint rightbottompoint;
    bool leftstretch = false;
    bool rightstretch = false;
    bool topstretch = false;
    bool bottomstretch = false;

    // The shared keys come first (pictures and points) and last (stretch flags); Own lists the rest in between.
    template <class V, class S, class Own> static void keys(V &v, S &s, Own own)
    {
        v.integer("windowpictureindex", s.windowpictureindex, -1);
        v.integer("maskpictureindex", s.maskpictureindex, -1);
        v.point("lefttoppoint", s.lefttoppoint);
        v.point("righttoppoint", s.righttoppoint);
        v.point("leftbottompoint", s.leftbottompoint);
        v.point("rightbottompoint", s.rightbottompoint);
        own();
        v.boolean("leftstretch", s.leftstretch);
        v.boolean("rightstretch", s.rightstretch);
        v.boolean("topstretch", s.topstretch);
        v.boolean("bottomstretch", s.bottomstretch);
    }
};

// [POPUPWINDOW]: the popup menu window; `itemsrect` is where the items go.
class TbsDataSkinPopupWindow : public SkinWindowData
{
public:
    void LoadFromIni(const SkinIni &ini);

    TRect itemsrect;
    int scrollmarkercolor = 0;
    int scrollmarkeractivecolor = 0;
};

// [HINTWINDOW]: the hint window; the text goes into `clientrect`.
class TbsDataSkinHintWindow : public SkinWindowData
{
public:
    void LoadFromIni(const SkinIni &ini);

    TRect clientrect;
    QString fontname = QStringLiteral("Arial");
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    int fontcolor = 0;
};

} // namespace pixolo
