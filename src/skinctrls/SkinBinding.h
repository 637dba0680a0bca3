#pragma once

#include <QPointer>
#include <QString>

class QEvent;
class QImage;
class QWidget;

namespace pixolo
{

class TbsDataSkinControl;
class TbsSkinData;

// A control's link to a skin data store and the name of its entry in the store's control list. The entry is
// looked up again on every use, so nothing survives a reload of the store; a destroyed store is dropped.
class SkinBinding
{
public:
    explicit SkinBinding(const QString &name)
        : m_name(name)
    {
    }

    TbsSkinData *store() const;
    // Stores the link; true when the store holds a skin, which the control then applies at once.
    bool setStore(TbsSkinData *store);
    const QString &name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }

    // The entry's position in the store's control list, -1 without a store, with an empty store or an unknown name.
    int index() const { return m_index; }
    int lookUp();
    void release() { m_index = -1; }
    // The entry at index(), or null while it is -1.
    const TbsDataSkinControl *entry() const;
    // The store's numbered picture as an image (shared with the store, any format), or a null image for an index
    // that names no picture.
    QImage picture(int index) const;
    // Whether the store shows morphs and animations: its effects are on and it holds a skin.
    bool effects() const;

    // What a skin message asks of a control with this binding.
    enum class Notice { None, Release, Apply };
    Notice notice(QEvent *event) const;

private:
    QPointer<TbsSkinData> m_store;
    QString m_name;
    int m_index = -1;
};

// The published binding of a control to a store: SkinData, SkinDataName, the entry index, ApplySkin and
// ReleaseSkin, and the answer to the store's notices.
//
// The store tells the windows of a change; a control bound to a store hears of it through its window (see
// SetSkinData), so it follows its store with or without a skinned form over it. A notice that reaches the control
// twice in a row (from the window and from a skinned form relaying the same message) is acted on once.
class SkinBoundControl
{
public:
    virtual ~SkinBoundControl() = default;

    TbsSkinData *SkinData() const { return m_skin.store(); }
    // Binds the store and has the control's window pass the store's notices on to it; a store that holds a skin
    // is applied at once.
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
    // Answers a skin message: release before the store reloads (windowed controls only; windowless ones keep
    // nothing between paints), apply after. False for any other event.
    bool handleSkinNotice(QEvent *event, bool windowed);
    // The control was moved to another parent: its new window passes the store's notices on.
    void followWindow();

    SkinBinding m_skin;

private:
    int m_lastNotice = 0;
};

// Has `window` pass each store notice it receives (before change, change) on to every skin-bound control inside
// it, in creation order; each control acts on the notices of its own store. Idempotent.
void relaySkinNotices(QWidget *window);

} // namespace pixolo
