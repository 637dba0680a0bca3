#include "skin/TbsDataSkinControl.h"

#include "skin/SkinIni.h"

namespace pixolo
{

namespace
{

constexpr auto s_classes = skinClassTable<TbsDataSkinControl, TbsDataSkinPanelControl, TbsDataSkinExPanelControl,
    TbsDataSkinMenuButtonControl, TbsDataSkinButtonControl, TbsDataSkinCheckRadioControl, TbsDataSkinGaugeControl,
    TbsDataSkinSplitterControl, TbsDataSkinTrackBarControl, TbsDataSkinLabelControl, TbsDataSkinStdLabelControl,
    TbsDataSkinUpDownControl, TbsDataSkinGridControl, TbsDataSkinTabControl, TbsDataSkinMainMenuBar,
    TbsDataSkinControlBar, TbsDataSkinMemoControl, TbsDataSkinEditControl, TbsDataSkinCheckListBox, TbsDataSkinListBox,
    TbsDataSkinComboBox, TbsDataSkinScrollBarControl, TbsDataSkinSpinEditControl, TbsDataSkinScrollBoxControl,
    TbsDataSkinTreeView, TbsDataSkinBevel, TbsDataSkinSlider, TbsDataSkinListView, TbsDataSkinRichEdit>();

} // namespace

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
