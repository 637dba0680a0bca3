#include "skin/TbsDataSkinControl.h"

#include "skin/SkinIni.h"

namespace pixolo {

namespace {

template <class T> constexpr SkinClassEntry<TbsDataSkinControl> entry()
{
    return skinClass<TbsDataSkinControl, T>();
}

constexpr std::array s_classes = {
    entry<TbsDataSkinPanelControl>(),
    entry<TbsDataSkinExPanelControl>(),
    entry<TbsDataSkinMenuButtonControl>(),
    entry<TbsDataSkinButtonControl>(),
    entry<TbsDataSkinCheckRadioControl>(),
    entry<TbsDataSkinGaugeControl>(),
    entry<TbsDataSkinSplitterControl>(),
    entry<TbsDataSkinTrackBarControl>(),
    entry<TbsDataSkinLabelControl>(),
    entry<TbsDataSkinStdLabelControl>(),
    entry<TbsDataSkinUpDownControl>(),
    entry<TbsDataSkinGridControl>(),
    entry<TbsDataSkinTabControl>(),
    entry<TbsDataSkinMainMenuBar>(),
    entry<TbsDataSkinControlBar>(),
    entry<TbsDataSkinMemoControl>(),
    entry<TbsDataSkinEditControl>(),
    entry<TbsDataSkinCheckListBox>(),
    entry<TbsDataSkinListBox>(),
    entry<TbsDataSkinComboBox>(),
    entry<TbsDataSkinScrollBarControl>(),
    entry<TbsDataSkinSpinEditControl>(),
    entry<TbsDataSkinScrollBoxControl>(),
    entry<TbsDataSkinTreeView>(),
    entry<TbsDataSkinBevel>(),
    entry<TbsDataSkinSlider>(),
    entry<TbsDataSkinListView>(),
    entry<TbsDataSkinRichEdit>(),
};

} // namespace

void TbsDataSkinControl::LoadData(const SkinIni &ini)
{
    SkinKeyReader reader(ini, IDName);
    keys(reader, *this);
}

void TbsDataSkinControl::SaveData(SkinIni &ini) const
{
    ini.EraseSection(IDName);
    SkinKeyWriter writer(ini, IDName);
    keys(writer, *this);
}

void TbsDataSkinUpDownControl::LoadData(const SkinIni &ini)
{
    SkinKeyed::LoadData(ini);
    lefttoppoint = righttoppoint = leftbottompoint = rightbottompoint = TPoint {};
    clientrect = TRect {};
}

std::unique_ptr<TbsDataSkinControl> CreateSkinControlData(const QString &typeWord, const QString &name)
{
    return createSkinData(s_classes, typeWord, name);
}

} // namespace pixolo
