#include "app/FormControls.h"

#include "skin/SkinMessage.h"
#include "skin/SkinPreview.h"
#include "skin/TbsCompressedStoredSkin.h"
#include "skin/TbsSkinData.h"
#include "skinctrls/SkinBinding.h"
#include "skinframe/TbsSkinForm.h"
#include "storedskin/StoredSkin.h"

#include <QPixmap>

namespace pixolo
{

TbsSkinPanel *makePanel(QWidget *parent, const char *name, QRect bounds, TAlign align, TbsSkinBorderStyle border)
{
    auto *panel = makeControl<TbsSkinPanel>(parent, name, bounds);
    panel->SetSkinDataName(QStringLiteral("panel"));
    panel->SetBorderStyle(border);
    panel->SetAlign(align);
    return panel;
}

void makeSkinComponents(QWidget *window, bool skinEffects, TbsSkinData *&store, TbsCompressedStoredSkin *&storedSkin)
{
    registerSkinWindow(window);
    storedSkin = new TbsCompressedStoredSkin(window);
    storedSkin->setObjectName(QStringLiteral("bsCompressedStoredSkin1"));
    storedSkin->SetFileName(QStringLiteral("skin.ini"));
    storedSkin->SetCompressedData(QByteArray(pixoloStoredSkin().data(), pixoloStoredSkin().size()));
    store = new TbsSkinData(window);
    store->setObjectName(QStringLiteral("bsSkinData1"));
    store->SetEnableSkinEffects(skinEffects);
}

TbsSkinForm *makeSkinForm(QWidget *window, TbsBorderIcons icons, TFormBorderStyle border)
{
    auto *form = new TbsSkinForm(window); // the window owns it
    form->setObjectName(QStringLiteral("bsSkinForm1"));
    form->SetBorderStyle(border);
    form->SetBorderIcons(icons);
    return form;
}

void loadSkin(TbsSkinData *store, TbsCompressedStoredSkin *storedSkin)
{
    store->SetCompressedStoredSkin(storedSkin); // sends the change messages
}

void bindSkin(TbsSkinData *store, std::initializer_list<SkinBoundControl *> controls)
{
    for (SkinBoundControl *control : controls) {
        control->SetSkinData(store);
    }
}

QIcon programWindowIcon(const TbsSkinData &store)
{
    QIcon icon;
    for (const int size : { 16, 24, 32, 48, 64, 128 }) {
        const QImage image = programIcon(store, size);
        if (!image.isNull()) {
            icon.addPixmap(QPixmap::fromImage(image));
        }
    }
    return icon;
}

} // namespace pixolo
