#pragma once

#include "platform/TBitmap.h"
#include "skin/SkinTypes.h"
#include "skin/TbsCompressedStoredSkin.h"
#include "skin/TbsDataSkinControl.h"
#include "skin/TbsDataSkinObject.h"
#include "skin/TbsDataSkinPopupWindow.h"
#include "skin/TbsResourceStrData.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <memory>
#include <vector>

class QWidget;

namespace pixolo
{

class SkinIni;

// The eight skin colours of [SKINCOLORS].
struct TbsSkinColors {
    int cbtnface = 0;
    int cbtntext = 0;
    int cwindow = 0;
    int cwindowtext = 0;
    int chighlight = 0;
    int chighlighttext = 0;
    int cbtnhighlight = 0;
    int cbtnshadow = 0;

    // Back to the system colours (0xFF0000nn): button face, button text, window, window text, highlight,
    // highlight text, button highlight, button shadow.
    void Reset();
    void LoadFromIni(const SkinIni &ini);
};

// The skin data store of one window: the decoded skin that every skinned part of the window reads.
//
// Assigning a stored skin loads it at once: aboutToChange goes out, the store is cleared, the container is decoded
// and the description read; on success Empty turns false and changed and afterChange follow. Each notice is
// emitted once for each skinned window, synchronously: for the store's own window first, then for every other
// skinned window in the order they were registered (registerSkinWindow); its argument is the window it is meant
// for. A form or control connects to the store it is bound to and acts on the emission for its own window, so
// the receivers in the store's window hear of a change before those elsewhere. A failed load leaves the store Empty
// with whatever was read so far, and raises.
class TbsSkinData final : public QObject
{
    Q_OBJECT
public:
    explicit TbsSkinData(QObject *parent = nullptr);
    ~TbsSkinData() override;

    // Consumers run morphs and frame animations only when this is true and the store is loaded.
    bool EnableSkinEffects() const { return m_enableSkinEffects; }
    void SetEnableSkinEffects(bool enable) { m_enableSkinEffects = enable; }

    // The stored skin (not owned; forgotten when it is destroyed). Assigning one loads it, every time.
    TbsCompressedStoredSkin *CompressedStoredSkin() const { return m_compressedStoredSkin; }
    void SetCompressedStoredSkin(TbsCompressedStoredSkin *storedSkin);

    // Replaceable texts (not owned; forgotten when destroyed). Assigning emits stringsChanged.
    TbsResourceStrData *ResourceStrData() const { return m_resourceStrData; }
    void SetResourceStrData(TbsResourceStrData *strings);

    // True while nothing is loaded, during a reload and after a failed one: draw nothing from the store then.
    bool Empty() const { return m_empty; }

    // Does nothing for an empty stored skin. Throws EDecompressionError, EReadError, EInvalidGraphic or
    // EConvertError for a damaged one, leaving the store Empty.
    void LoadStoredSkin(const TbsCompressedStoredSkin &storedSkin);

    // The first entry named exactly so (case counts), or -1.
    int FindObjectIndex(const QString &name) const;
    int FindControlIndex(const QString &name) const;

    // The numbered picture at index, or null for -1, any other index outside the list, and an empty picture.
    const TBitmap *ActivePicture(int index) const;

    // Goes up whenever the content is cleared or replaced: an entry or picture read at one value is gone at another.
    quint64 generation() const { return m_generation; }

    // The decoded skin. Read these only while the store is not Empty.
    TBitmap Picture;
    TBitmap InActivePicture;
    TBitmap MaskPicture;
    std::vector<TBitmap> ActivePictures; // index = the picture's number in the skin
    QString PictureName;
    QString InActivePictureName;
    QString MaskPictureName;
    QStringList ActivePictureNames;
    std::vector<std::unique_ptr<TbsDataSkinObject>> ObjectList;
    std::vector<std::unique_ptr<TbsDataSkinControl>> ControlList;
    TbsSkinColors SkinColors;
    TbsDataSkinPopupWindow PopupWindow;
    TbsDataSkinHintWindow HintWindow;

    // [VERSION], kept for information.
    QString skinname;
    QString skinauthor;
    QString authoremail;
    QString authorurl;
    QString skincomments;

    // [FORMINFO], in the coordinates of the form picture.
    TPoint lefttoppoint;
    TPoint righttoppoint;
    TPoint leftbottompoint;
    TPoint rightbottompoint;
    TRect clientrect;
    int bgpictureindex = -1;
    int mdibgpictureindex = -1;
    bool leftstretch = false;
    bool rightstretch = false;
    bool topstretch = false;
    bool bottomstretch = false;
    TRect maskrectarea;
    TPoint hittestlefttoppoint;
    TPoint hittestrighttoppoint;
    TPoint hittestleftbottompoint;
    TPoint hittestrightbottompoint;
    TRect buttonsrect;
    TRect captionrect;
    int buttonsoffset = 0;
    bool buttonsinleft = false;
    bool mainmenupopupup = false;
    int borderwidth = 0;
    int formminwidth = 0;
    bool autorenderinginactiveimage = false;
    TbsInActiveEffect inactiveeffect = ieBrightness;

Q_SIGNALS:
    // A reload starts: the data is about to be freed.
    void aboutToChange(QWidget *window);
    // A reload succeeded and the store holds the new skin.
    void changed(QWidget *window);
    // Right after changed.
    void afterChange(QWidget *window);
    // ResourceStrData was assigned.
    void stringsChanged(QWidget *window);

private:
    template <class V, class S> static void formInfoKeys(V &v, S &s);
    // Emits `notice` for the own window, then for the other skinned windows.
    void notifyWindows(void (TbsSkinData::*notice)(QWidget *));
    void clear();
    void readDescription(const SkinIni &ini);
    void readFormInfo(const SkinIni &ini);
    void readEntries(const SkinIni &ini);

    bool m_enableSkinEffects = true;
    bool m_empty = true;
    quint64 m_generation = 0;
    QPointer<TbsCompressedStoredSkin> m_compressedStoredSkin;
    QPointer<TbsResourceStrData> m_resourceStrData;
};

} // namespace pixolo
