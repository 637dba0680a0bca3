#include "skin/TbsDataSkinObject.h"

#include "skin/SkinIni.h"

namespace pixolo {

namespace {

template <class T> constexpr SkinClassEntry<TbsDataSkinObject> entry()
{
    return skinClass<TbsDataSkinObject, T>();
}

constexpr std::array s_classes = {
    entry<TbsDataSkinMenuItem>(),
    entry<TbsDataSkinMainMenuBarItem>(),
    entry<TbsDataSkinStdButton>(),
    entry<TbsDataSkinMainMenuBarButton>(),
    entry<TbsDataSkinButton>(),
    entry<TbsDataSkinCaption>(),
    entry<TbsDataSkinAnimate>(),
    entry<TbsDataUserObject>(),
};

} // namespace

void TbsDataSkinObject::LoadData(const SkinIni &ini)
{
    SkinKeyReader reader(ini, IDName);
    keys(reader, *this);
}

void TbsDataSkinObject::SaveData(SkinIni &ini) const
{
    ini.EraseSection(IDName);
    SkinKeyWriter writer(ini, IDName);
    keys(writer, *this);
}

void TbsDataUserObject::LoadData(const SkinIni &ini)
{
    SkinKeyReader(ini, IDName).rect("skinrect", skinrect);
}

void TbsDataUserObject::SaveData(SkinIni &ini) const
{
    ini.EraseSection(IDName);
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
