#include "skinctrls/SkinBinding.h"

#include "skin/SkinMessage.h"
#include "skin/TbsSkinData.h"

#include <QImage>
#include <QWidget>

#include <vector>

namespace pixolo
{

namespace
{

constexpr const char *s_relayName = "pixolo-skin-notice-relay";

// Passes the store notices a window receives on to the skin-bound controls inside it.
class SkinNoticeRelay final : public QObject
{
public:
    explicit SkinNoticeRelay(QWidget *window)
        : QObject(window)
    {
        setObjectName(QLatin1String(s_relayName));
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != parent() || event->type() != SkinMessageEvent::eventType()) {
            return false;
        }
        const auto *message = static_cast<const SkinMessageEvent *>(event);
        if (message->Msg() != SKIN_MSG_BEFORE_CHANGE && message->Msg() != SKIN_MSG_CHANGE) {
            return false;
        }
        auto *window = static_cast<QWidget *>(watched);
        // Applying a skin may resize and re-dock controls; the list is taken first and each control checked.
        std::vector<QPointer<QWidget>> controls;
        for (QWidget *child : window->findChildren<QWidget *>()) {
            if (child->window() == window && dynamic_cast<SkinBoundControl *>(child)) {
                controls.emplace_back(child);
            }
        }
        for (const QPointer<QWidget> &control : controls) {
            if (control) {
                sendSkinMessage(control, message->Msg(), message->WParam(), message->LParam());
            }
        }
        return false; // the window itself goes on to handle the notice
    }
};

} // namespace

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

const TbsDataSkinControl *SkinBinding::entry() const
{
    if (m_index < 0 || m_store.isNull() || m_store->Empty() || size_t(m_index) >= m_store->ControlList.size()) {
        return nullptr;
    }
    return m_store->ControlList[size_t(m_index)].get();
}

QImage SkinBinding::picture(int index) const
{
    if (m_store.isNull()) {
        return {};
    }
    const TBitmap *bitmap = m_store->ActivePicture(index);
    return bitmap ? bitmap->image() : QImage();
}

bool SkinBinding::effects() const
{
    return m_store && m_store->EnableSkinEffects() && !m_store->Empty();
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
    m_lastNotice = 0;
    followWindow();
    if (m_skin.setStore(value)) {
        ApplySkin();
    }
}

void SkinBoundControl::followWindow()
{
    auto *self = dynamic_cast<QWidget *>(this);
    if (self && self->parentWidget()) {
        relaySkinNotices(self->window());
    }
}

bool SkinBoundControl::handleSkinNotice(QEvent *event, bool windowed)
{
    const SkinBinding::Notice notice = m_skin.notice(event);
    if (notice == SkinBinding::Notice::None) {
        return false;
    }
    // The same notice again straight after the first (two relays of one message) has nothing left to do.
    const int msg = static_cast<const SkinMessageEvent *>(event)->Msg();
    if (msg == m_lastNotice) {
        return true;
    }
    m_lastNotice = msg;
    if (notice == SkinBinding::Notice::Release) {
        if (windowed) {
            ReleaseSkin();
        }
    } else {
        ApplySkin();
    }
    return true;
}

void relaySkinNotices(QWidget *window)
{
    if (!window || window->findChild<SkinNoticeRelay *>(QLatin1String(s_relayName), Qt::FindDirectChildrenOnly)) {
        return;
    }
    new SkinNoticeRelay(window); // the window owns it
}

} // namespace pixolo
