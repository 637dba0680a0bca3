#include "skin/TbsSkinData.h"

#include "skin/SkinIni.h"
#include "skin/SkinKeys.h"
#include "skin/SkinMessage.h"
#include "skin/SkinValues.h"
#include "skin/SystemColors.h"
#include "skin/TbsCompressedStoredSkin.h"
#include "skin/TbsResourceStrData.h"

#include <QWidget>

#include <algorithm>

namespace pixolo
{

namespace
{

// An entry "name:type" of [SKINOBJECTS] or [SKINCONTROLS]; without ':' it has neither.
std::pair<QString, QString> splitEntry(const QString &entry)
{
    const qsizetype colon = entry.indexOf(u':');
    if (colon < 0) {
        return {};
    }
    return { entry.left(colon), entry.mid(colon + 1) };
}

template <class List> int findIndex(const List &list, const QString &name)
{
    const auto it = std::find_if(list.begin(), list.end(), [&](const auto &e) { return e->IDName == name; });
    return it == list.end() ? -1 : int(it - list.begin());
}

// Creates the data object of each entry in list order, lets it read its section and appends it.
template <class Root, class Create>
void readList(const SkinIni &ini, const QString &section, std::vector<std::unique_ptr<Root>> &list, Create create)
{
    // Entries past the last numbered key present would have neither name nor type and make nothing, so the loop
    // stops there: a huge count costs nothing.
    const int count = std::min(ini.ReadInteger(section, QStringLiteral("count"), 0), ini.NumberedKeyLimit(section));
    for (int i = 0; i < count; ++i) {
        const auto [name, type] = splitEntry(ini.ReadString(section, QString::number(i), QString()));
        std::unique_ptr<Root> data = create(type, name);
        if (!data) {
            continue; // an unknown type word makes nothing
        }
        list.push_back(std::move(data));
        list.back()->LoadData(ini);
    }
}

TRect united(const TRect &a, const TRect &b)
{
    return { std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
        std::max(a.Bottom, b.Bottom) };
}

} // namespace

void TbsSkinColors::Reset()
{
    cbtnface = clBtnFace;
    cbtntext = clBtnText;
    cwindow = clWindow;
    cwindowtext = clWindowText;
    chighlight = clHighlight;
    chighlighttext = clHighlightText;
    cbtnhighlight = clBtnHighlight;
    cbtnshadow = clBtnShadow;
}

void TbsSkinColors::LoadFromIni(const SkinIni &ini)
{
    SkinKeyReader v(ini, QStringLiteral("SKINCOLORS"));
    v.integer("cbtnface", cbtnface);
    v.integer("cbtntext", cbtntext);
    v.integer("cwindow", cwindow);
    v.integer("cwindowtext", cwindowtext);
    v.integer("chighlight", chighlight);
    v.integer("chighlighttext", chighlighttext);
    v.integer("cbtnhighlight", cbtnhighlight);
    v.integer("cbtnshadow", cbtnshadow);
}

template <class V, class S> void TbsSkinData::formInfoKeys(V &v, S &s)
{
    v.point("lefttoppoint", s.lefttoppoint);
    v.point("righttoppoint", s.righttoppoint);
    v.point("leftbottompoint", s.leftbottompoint);
    v.point("rightbottompoint", s.rightbottompoint);
    v.rect("clientrect", s.clientrect);
    v.integer("bgpictureindex", s.bgpictureindex, -1);
    v.integer("mdibgpictureindex", s.mdibgpictureindex, -1);
    v.boolean("leftstretch", s.leftstretch);
    v.boolean("rightstretch", s.rightstretch);
    v.boolean("topstretch", s.topstretch);
    v.boolean("bottomstretch", s.bottomstretch);
    v.rect("maskrectarea", s.maskrectarea);
    v.point("hittestlefttoppoint", s.hittestlefttoppoint);
    v.point("hittestrighttoppoint", s.hittestrighttoppoint);
    v.point("hittestleftbottompoint", s.hittestleftbottompoint);
    v.point("hittestrightbottompoint", s.hittestrightbottompoint);
    v.rect("buttonsrect", s.buttonsrect);
    v.rect("captionrect", s.captionrect);
    v.integer("buttonsoffset", s.buttonsoffset);
    v.boolean("buttonsinleft", s.buttonsinleft);
    v.boolean("mainmenupopupup", s.mainmenupopupup);
    v.integer("borderwidth", s.borderwidth);
    v.integer("formminwidth", s.formminwidth);
    v.boolean("autorenderinginactiveimage", s.autorenderinginactiveimage);
    v.inactiveEffect("inactiveeffect", s.inactiveeffect);
}

TbsSkinData::TbsSkinData(QObject *parent)
    : QObject(parent)
{
    auto *owner = qobject_cast<QWidget *>(parent);
    if (owner && owner->isWindow()) {
        registerSkinWindow(owner);
    }
}

TbsSkinData::~TbsSkinData()
{
    m_empty = true; // anyone asked while the members go must see an empty store
}

void TbsSkinData::SetCompressedStoredSkin(TbsCompressedStoredSkin *storedSkin)
{
    m_compressedStoredSkin = storedSkin;
    if (storedSkin) {
        LoadStoredSkin(*storedSkin);
    }
}

void TbsSkinData::SetResourceStrData(TbsResourceStrData *strings)
{
    m_resourceStrData = strings;
    notifyWindows(&TbsSkinData::stringsChanged);
}

int TbsSkinData::FindObjectIndex(const QString &name) const
{
    return findIndex(ObjectList, name);
}

int TbsSkinData::FindControlIndex(const QString &name) const
{
    return findIndex(ControlList, name);
}

const TBitmap *TbsSkinData::ActivePicture(int index) const
{
    if (index < 0 || size_t(index) >= ActivePictures.size() || ActivePictures[size_t(index)].Empty()) {
        return nullptr;
    }
    return &ActivePictures[size_t(index)];
}

void TbsSkinData::notifyWindows(void (TbsSkinData::*notice)(QWidget *))
{
    auto *owner = qobject_cast<QWidget *>(parent());
    if (owner && !owner->isWindow()) {
        owner = nullptr;
    }
    // The list is taken first: a receiver may close or open windows.
    QList<QPointer<QWidget>> windows;
    if (owner) {
        windows.append(owner);
    }
    for (QWidget *window : skinWindows()) {
        if (window != owner) {
            windows.append(window);
        }
    }
    for (const QPointer<QWidget> &window : windows) {
        if (window) {
            Q_EMIT(this->*notice)(window.data());
        }
    }
}

void TbsSkinData::clear()
{
    ++m_generation;
    ObjectList.clear();
    ControlList.clear();
    ActivePictures.clear();
    PopupWindow.windowpictureindex = -1;
    HintWindow.windowpictureindex = -1;
    ActivePictureNames.clear();
    SkinColors.Reset();
    Picture.Clear();
    MaskPicture.Clear();
    InActivePicture.Clear();
    PictureName.clear();
    MaskPictureName.clear();
}

void TbsSkinData::LoadStoredSkin(const TbsCompressedStoredSkin &storedSkin)
{
    if (storedSkin.IsEmpty()) {
        return;
    }
    m_empty = true;
    notifyWindows(&TbsSkinData::aboutToChange);
    clear();
    m_empty = true; // a receiver of the message above may have asked for a reload of its own

    TMemoryStream container;
    storedSkin.DecompressToStream(container);
    container.SetPosition(0);
    const qint32 version = readContainerInteger(container);
    if (version > TbsCompressedStoredSkin::s_storedSkinVersion) {
        return;
    }
    Picture = readFlaggedBitmap(container);
    InActivePicture = readFlaggedBitmap(container);
    MaskPicture = readFlaggedBitmap(container);
    if (version == 2) {
        readFlaggedBitmap(container); // two pictures of an older layout, no longer used
        readFlaggedBitmap(container);
    }
    const qint32 count = readContainerInteger(container);
    for (qint32 i = 0; i < count; ++i) {
        ActivePictures.emplace_back();
        ActivePictures.back() = readContainerBitmap(container);
    }
    readDescription(SkinIni(readContainerText(container)));
    // Converted for painting here, once, rather than by every paint that reads them.
    for (TBitmap *picture : { &Picture, &InActivePicture, &MaskPicture }) {
        picture->cacheRgb32();
    }
    for (TBitmap &picture : ActivePictures) {
        picture.cacheRgb32();
    }

    m_empty = false;
    ++m_generation;
    notifyWindows(&TbsSkinData::changed);
    notifyWindows(&TbsSkinData::afterChange);
}

void TbsSkinData::readDescription(const SkinIni &ini)
{
    SkinKeyReader version(ini, QStringLiteral("VERSION"));
    version.string("skinname", skinname);
    version.string("skinauthor", skinauthor);
    version.string("authoremail", authoremail);
    version.string("authorurl", authorurl);
    version.string("skincomments", skincomments);

    SkinKeyReader pictures(ini, QStringLiteral("PICTURES"));
    pictures.string("picture", PictureName);
    pictures.string("inactivepicture", InActivePictureName);
    pictures.string("mask", MaskPictureName);
    ReadStrings(ini, QStringLiteral("PICTURES"), QStringLiteral("activepictures"), ActivePictureNames);

    readFormInfo(ini);
    PopupWindow.LoadFromIni(ini);
    HintWindow.LoadFromIni(ini);
    SkinColors.LoadFromIni(ini);
    readEntries(ini);
}

void TbsSkinData::readFormInfo(const SkinIni &ini)
{
    SkinKeyReader reader(ini, QStringLiteral("FORMINFO"));
    formInfoKeys(reader, *this);

    if (!MaskPictureName.isEmpty()) {
        const bool maskAreaEmpty = RectWidth(maskrectarea) < 1 || RectHeight(maskrectarea) < 1;
        maskrectarea = maskAreaEmpty ? clientrect : united(maskrectarea, clientrect);
        const auto fill = [](TPoint &hit, const TPoint &corner) {
            if (IsNullPoint(hit)) {
                hit = corner;
            }
        };
        fill(hittestlefttoppoint, lefttoppoint);
        fill(hittestrighttoppoint, righttoppoint);
        fill(hittestleftbottompoint, leftbottompoint);
        fill(hittestrightbottompoint, rightbottompoint);
    }
    if (rightbottompoint.X != lefttoppoint.X && rightbottompoint.Y != lefttoppoint.Y) {
        lefttoppoint.X = std::max(lefttoppoint.X, clientrect.Left);
        leftbottompoint.X = std::max(leftbottompoint.X, clientrect.Left);
        righttoppoint.X = std::min(righttoppoint.X, clientrect.Right);
        rightbottompoint.X = std::min(rightbottompoint.X, clientrect.Right);
        lefttoppoint.Y = std::max(lefttoppoint.Y, clientrect.Top);
        righttoppoint.Y = std::max(righttoppoint.Y, clientrect.Top);
        leftbottompoint.Y = std::min(leftbottompoint.Y, clientrect.Bottom);
        rightbottompoint.Y = std::min(rightbottompoint.Y, clientrect.Bottom);
    }
}

void TbsSkinData::readEntries(const SkinIni &ini)
{
    readList(ini, QStringLiteral("SKINOBJECTS"), ObjectList, CreateSkinObjectData);
    readList(ini, QStringLiteral("SKINCONTROLS"), ControlList, CreateSkinControlData);
}

} // namespace pixolo
