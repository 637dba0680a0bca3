#include "skin/TbsDataSkinPopupWindow.h"

namespace pixolo
{

void TbsDataSkinPopupWindow::LoadFromIni(const SkinIni &ini)
{
    SkinKeyReader v(ini, QStringLiteral("POPUPWINDOW"));
    keys(v, *this, [&] {
        v.rect("itemsrect", itemsrect);
        v.integer("scrollmarkercolor", scrollmarkercolor);
        v.integer("scrollmarkeractivecolor", scrollmarkeractivecolor);
    });
}

void TbsDataSkinHintWindow::LoadFromIni(const SkinIni &ini)
{
    SkinKeyReader v(ini, QStringLiteral("HINTWINDOW"));
    keys(v, *this, [&] {
        v.rect("clientrect", clientrect);
        v.font("", fontname, fontheight, fontstyle);
        v.integer("fontcolor", fontcolor);
    });
}

} // namespace pixolo
