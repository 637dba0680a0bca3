#pragma once

#include <QMetaObject>
#include <QPointer>
#include <QString>

#include <functional>

class QImage;
class QWidget;

namespace pixolo
{

class TbsDataSkinControl;
class TbsSkinData;

// A control's link to a skin data store and the name of its entry in the store's control list. The entry found
// is kept until the store's content, the store or the name changes (current() turns false then), so nothing read
// from an earlier skin survives a reload; a destroyed store is dropped.
class SkinBinding
{
public:
    explicit SkinBinding(const QString &name)
        : m_name(name)
    {
    }
    ~SkinBinding();
    SkinBinding(const SkinBinding &) = delete;
    SkinBinding &operator=(const SkinBinding &) = delete;

    TbsSkinData *store() const;
    // Stores the link; true when the store holds a skin, which the control then applies at once.
    bool setStore(TbsSkinData *store);
    const QString &name() const { return m_name; }
    void setName(const QString &name);

    // Has `receiver` hear the store's notices meant for its window, for as long as both live and the store is
    // this binding's: `aboutToChange` before the store's data is freed, `changed` once the new skin is in.
    void listen(QWidget *receiver, std::function<void()> aboutToChange, std::function<void()> changed);

    // The entry's position in the store's control list, -1 without a store, with an empty store or an unknown name.
    int index() const { return m_index; }
    int lookUp();
    // Forgets the entry; the next use looks it up again.
    void release();
    // Keeps the entry but has the next use look it up again (a property that decides what is copied changed).
    void invalidate() { m_lookedUp = false; }
    // Whether the entry found by the last lookUp is still the store's: false after a reload, another store or
    // another name, and after release.
    bool current() const;
    // The entry at index(), or null while it is -1 or the store is empty (reloading).
    const TbsDataSkinControl *entry() const;
    // The store's numbered picture in the painting format (shared with the store), or a null image for an index
    // that names no picture.
    QImage picture(int index) const;
    // Whether the store shows morphs and animations: its effects are on and it holds a skin.
    bool effects() const;

private:
    void disconnect();

    QPointer<TbsSkinData> m_store;
    QString m_name;
    int m_index = -1;
    const TbsDataSkinControl *m_entry = nullptr;
    // What the last lookUp read: from which store, at which of its generations; null after release.
    const TbsSkinData *m_lookedUpIn = nullptr;
    quint64 m_generation = 0;
    bool m_lookedUp = false;
    QMetaObject::Connection m_aboutToChange;
    QMetaObject::Connection m_changed;
};

// The published binding of a control to a store: SkinData, SkinDataName, the entry index, ApplySkin and
// ReleaseSkin, and the answer to the store's notices.
//
// A control connects to the store it is bound to and acts on the notices the store emits for the control's own
// window: it forgets its entry before a reload and applies the new skin after one. What a control copies out of its
// entry is copied again only when the entry may have changed (see ensureSkinEntry), not at every paint.
class SkinBoundControl
{
public:
    virtual ~SkinBoundControl() = default;

    TbsSkinData *SkinData() const { return m_skin.store(); }
    // Binds the store and listens to its notices; a store that holds a skin is applied at once.
    virtual void SetSkinData(TbsSkinData *value);
    const QString &SkinDataName() const { return m_skin.name(); }
    // Takes effect at the next paint, bounds change or ApplySkin.
    void SetSkinDataName(const QString &value) { m_skin.setName(value); }
    // Position of the control's entry in the store's control list, -1 when there is none.
    int SkinIndex() const { return m_skin.index(); }

    // Reloads the entry and brings size and look in step with it.
    virtual void ApplySkin() = 0;
    // Forgets the entry before the store reloads, so that nothing is drawn from data about to be freed.
    virtual void ReleaseSkin() { m_skin.release(); }

protected:
    explicit SkinBoundControl(const QString &name)
        : m_skin(name)
    {
    }
    // Looks the entry up again (-1 without a store, with an empty store or an unknown name); the skinned looks
    // copy the entry's data here.
    virtual void LoadSkinEntry() { m_skin.lookUp(); }
    // LoadSkinEntry when what it copied may be out of date: the store reloaded, or the store, the name or a
    // property that LoadSkinEntry reads changed (their setters call m_skin.invalidate()).
    void ensureSkinEntry()
    {
        if (!m_skin.current()) {
            LoadSkinEntry();
        }
    }
    // The store's notices for the control's window. Windowed controls forget their entry before a reload; a
    // windowless one keeps its index, as it draws nothing from the entry while the store is empty.
    virtual void skinAboutToChange() { ReleaseSkin(); }
    virtual void skinChanged() { ApplySkin(); }

    SkinBinding m_skin;
};

} // namespace pixolo
