#pragma once

// Helpers of the skinned-look tests: a form carrying Pixolo's own skin (or any skin folder), the image the skin's
// builders make of an entry's state at a size, and pixel comparisons that leave text areas out.
#include "skin/BmpFile.h"
#include "skin/SkinMessage.h"
#include "skin/SkinPaint.h"
#include "skin/TbsCompressedStoredSkin.h"
#include "skin/TbsDataSkinControl.h"
#include "skin/TbsSkinData.h"
#include "storedskin/StoredSkin.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace pixolo::test
{

// A window registered for skin messages with its own store, as each of Pixolo's windows has one. The store loads
// Pixolo's built-in skin, or a skin folder written by the test.
class SkinnedForm
{
public:
    explicit SkinnedForm(bool effects = false)
        : form(std::make_unique<QWidget>())
    {
        registerSkinWindow(form.get());
        store = new TbsSkinData(form.get());
        store->SetEnableSkinEffects(effects);
        storedSkin.SetCompressedData(QByteArray(pixoloStoredSkin().data(), pixoloStoredSkin().size()));
    }

    // Replaces the skin by a folder holding `ini` as skin.ini and the given pictures (file name, image).
    void useFolder(const QByteArray &ini, const std::vector<std::pair<QString, QImage>> &pictures)
    {
        for (const auto &[name, image] : pictures) {
            saveBmpFile(TBitmap(image), folder.filePath(name));
        }
        QFile file(folder.filePath(QStringLiteral("skin.ini")));
        if (file.open(QIODevice::WriteOnly)) {
            file.write(ini);
        }
        file.close();
        storedSkin.ImportSkinFolder(file.fileName());
    }

    // Loads (or reloads) the skin: the store tells every skinned window.
    void load() { store->SetCompressedStoredSkin(&storedSkin); }

    const TbsDataSkinControl &entry(const QString &name) const
    {
        return *store->ControlList.at(size_t(store->FindControlIndex(name)));
    }

    template <class Entry> const Entry &entryAs(const QString &name) const
    {
        return dynamic_cast<const Entry &>(entry(name));
    }

    QTemporaryDir folder;
    TbsCompressedStoredSkin storedSkin;
    std::unique_ptr<QWidget> form;
    TbsSkinData *store = nullptr; // owned by the form
};

// What the skin's builders make of `state` (a rectangle of the entry's picture with the skin rectangle's size) for
// a control of entry `name` at `size`: the rectangle copied when no corner point is set; built both ways, client
// included, with the four corners set; in width with the right-top point set; in height with a left-bottom point.
inline QImage builtSkinImage(const TbsSkinData &store, const QString &name, const TRect &state, QSize size)
{
    const auto &entry
        = dynamic_cast<const TbsDataSkinCustomControl &>(*store.ControlList.at(size_t(store.FindControlIndex(name))));
    const QImage picture = store.ActivePicture(entry.pictureindex)->toRgb32();
    const SkinCorners points { entry.lefttoppoint, entry.righttoppoint, entry.leftbottompoint, entry.rightbottompoint,
        entry.clientrect };
    const int skinWidth = RectWidth(entry.skinrect);
    const int skinHeight = RectHeight(entry.skinrect);
    if (points.RB.X != 0 && points.RB.Y != 0) {
        return CreateSkinImage(points, points.grownBy(size.width() - skinWidth, size.height() - skinHeight), picture,
            state, size.width(), size.height(), true);
    }
    if (points.RT.X != 0 || points.RT.Y != 0) {
        return CreateHSkinImage(
            points.LT.X, skinWidth - points.RT.X, picture, state, size.width(), entry.stretcheffect);
    }
    if (points.LB.X != 0 || points.LB.Y != 0) {
        return CreateVSkinImage(
            points.LT.Y, skinHeight - points.LB.Y, picture, state, size.height(), entry.stretcheffect);
    }
    return picture.copy(toQRect(state));
}

// Every pixel of `actual` equals `expected` (colour only) except inside the `excluded` rectangles.
inline testing::AssertionResult sameOutside(
    const QImage &actual, const QImage &expected, const std::vector<QRect> &excluded = {})
{
    if (actual.size() != expected.size()) {
        return testing::AssertionFailure() << "size " << actual.width() << "x" << actual.height() << ", expected "
                                           << expected.width() << "x" << expected.height();
    }
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            bool skip = false;
            for (const QRect &r : excluded) {
                skip = skip || r.contains(x, y);
            }
            const QRgb a = actual.pixel(x, y) & 0xFFFFFF;
            const QRgb e = expected.pixel(x, y) & 0xFFFFFF;
            if (!skip && a != e) {
                return testing::AssertionFailure()
                    << "pixel (" << x << "," << y << ") is " << std::hex << a << ", expected " << e;
            }
        }
    }
    return testing::AssertionSuccess();
}

} // namespace pixolo::test
