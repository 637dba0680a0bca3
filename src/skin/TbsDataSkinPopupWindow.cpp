#include "skin/TbsDataSkinPopupWindow.h"

namespace pixolo {

void TbsDataSkinPopupWindow::LoadFromIni(const SkinIni &ini)
{
    SkinKeyReader reader(ini, QStringLiteral("POPUPWINDOW"));
    keys(reader, *this);
}

void TbsDataSkinHintWindow::LoadFromIni(const SkinIni &ini)
{
    SkinKeyReader reader(ini, QStringLiteral("HINTWINDOW"));
    keys(reader, *this);
}

} // namespace pixolo
