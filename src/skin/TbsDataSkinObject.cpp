#include "skin/TbsDataSkinObject.h"

#include "skin/SkinIni.h"

namespace pixolo
{

namespace
{

constexpr auto s_classes
    = skinClassTable<TbsDataSkinObject, TbsDataSkinMenuItem, TbsDataSkinMainMenuBarItem, TbsDataSkinStdButton,
        TbsDataSkinMainMenuBarButton, TbsDataSkinButton, TbsDataSkinCaption, TbsDataSkinAnimate, TbsDataUserObject>();

} // namespace

void TbsDataUserObject::LoadData(const SkinIni &ini)
{
    SkinKeyReader(ini, IDName).rect("skinrect", skinrect);
}

void TbsDataUserObject::SaveData(SkinIni &ini) const
{
    SkinDataEntry::SaveData(ini); // erases the section
    SkinKeyWriter(ini, IDName).rect("skinrect", skinrect);
}

void TbsDataSkinAnimate::LoadData(const SkinIni &ini)
{
    SkinKeyed::LoadData(ini);
    morphing = false;
}

std::unique_ptr<TbsDataSkinObject> CreateSkinObjectData(const QString &typeWord, const QString &name)
{
    return createSkinData(s_classes, typeWord, name);
}

} // namespace pixolo
