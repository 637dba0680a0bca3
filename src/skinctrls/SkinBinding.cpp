#include "skinctrls/SkinBinding.h"

#include "skin/TbsSkinData.h"

#include <QImage>
#include <QWidget>

namespace pixolo
{

SkinBinding::~SkinBinding()
{
    disconnect();
}

TbsSkinData *SkinBinding::store() const
{
    return m_store.data();
}

bool SkinBinding::setStore(TbsSkinData *store)
{
    if (store != m_store.data()) {
        disconnect();
        m_store = store;
    }
    release();
    return store && !store->Empty();
}

void SkinBinding::setName(const QString &name)
{
    if (name != m_name) {
        m_name = name;
        m_lookedUp = false;
    }
}

void SkinBinding::disconnect()
{
    QObject::disconnect(m_aboutToChange);
    QObject::disconnect(m_changed);
}

void SkinBinding::listen(QWidget *receiver, std::function<void()> aboutToChange, std::function<void()> changed)
{
    disconnect();
    if (m_store.isNull() || !receiver) {
        return;
    }
    // The receiver is the context: its destruction ends the connections. The window is asked at each notice, so
    // a control moved to another window hears that window's notices.
    m_aboutToChange = QObject::connect(m_store.data(), &TbsSkinData::aboutToChange, receiver,
        [receiver, notice = std::move(aboutToChange)](QWidget *window) {
            if (window == receiver->window()) {
                notice();
            }
        });
    m_changed = QObject::connect(
        m_store.data(), &TbsSkinData::changed, receiver, [receiver, notice = std::move(changed)](QWidget *window) {
            if (window == receiver->window()) {
                notice();
            }
        });
}

int SkinBinding::lookUp()
{
    m_entry = nullptr;
    m_index = -1;
    m_lookedUpIn = m_store.data();
    m_generation = m_store ? m_store->generation() : 0;
    m_lookedUp = true;
    if (m_store && !m_store->Empty()) {
        m_index = m_store->FindControlIndex(m_name);
        if (m_index >= 0) {
            m_entry = m_store->ControlList[size_t(m_index)].get();
        }
    }
    return m_index;
}

void SkinBinding::release()
{
    m_index = -1;
    m_entry = nullptr;
    m_lookedUp = false;
}

bool SkinBinding::current() const
{
    return m_lookedUp && m_lookedUpIn == m_store.data() && (m_store.isNull() || m_store->generation() == m_generation);
}

const TbsDataSkinControl *SkinBinding::entry() const
{
    // The kept pointer is into the list the lookup read: not once the store has cleared it.
    if (!m_entry || m_store.isNull() || m_store->Empty() || m_store->generation() != m_generation) {
        return nullptr;
    }
    return m_entry;
}

QImage SkinBinding::picture(int index) const
{
    if (m_store.isNull()) {
        return {};
    }
    const TBitmap *bitmap = m_store->ActivePicture(index);
    return bitmap ? bitmap->toRgb32() : QImage();
}

bool SkinBinding::effects() const
{
    return m_store && m_store->EnableSkinEffects() && !m_store->Empty();
}

void SkinBoundControl::SetSkinData(TbsSkinData *value)
{
    const bool loaded = m_skin.setStore(value);
    if (auto *self = dynamic_cast<QWidget *>(this)) {
        m_skin.listen(
            self, [this] { skinAboutToChange(); }, [this] { skinChanged(); });
    }
    if (loaded) {
        ApplySkin();
    }
}

} // namespace pixolo
