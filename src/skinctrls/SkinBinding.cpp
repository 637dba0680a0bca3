#include "skinctrls/SkinBinding.h"

#include "skin/SkinMessage.h"
#include "skin/TbsSkinData.h"

namespace pixolo {

TbsSkinData *SkinBinding::store() const
{
    return m_store.data();
}

bool SkinBinding::setStore(TbsSkinData *store)
{
    m_store = store;
    return store && !store->Empty();
}

int SkinBinding::lookUp()
{
    if (m_store.isNull() || m_store->Empty()) {
        m_index = -1;
    } else {
        m_index = m_store->FindControlIndex(m_name);
    }
    return m_index;
}

SkinBinding::Notice SkinBinding::notice(QEvent *event) const
{
    if (event->type() != SkinMessageEvent::eventType()) {
        return Notice::None;
    }
    const auto *message = static_cast<const SkinMessageEvent *>(event);
    // A notice that names no store concerns every control.
    const bool ours = message->WParam() == nullptr || message->WParam() == static_cast<void *>(m_store.data());
    if (!ours) {
        return Notice::None;
    }
    switch (message->Msg()) {
    case SKIN_MSG_BEFORE_CHANGE:
        return Notice::Release;
    case SKIN_MSG_CHANGE:
        return Notice::Apply;
    default:
        return Notice::None;
    }
}

void SkinBoundControl::SetSkinData(TbsSkinData *value)
{
    if (m_skin.setStore(value)) {
        ApplySkin();
    }
}

bool SkinBoundControl::handleSkinNotice(QEvent *event, bool windowed)
{
    switch (m_skin.notice(event)) {
    case SkinBinding::Notice::Release:
        if (windowed) {
            ReleaseSkin();
        }
        return true;
    case SkinBinding::Notice::Apply:
        ApplySkin();
        return true;
    case SkinBinding::Notice::None:
        break;
    }
    return false;
}

} // namespace pixolo
