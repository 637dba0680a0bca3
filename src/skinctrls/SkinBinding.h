#pragma once

#include <QPointer>
#include <QString>

class QEvent;

namespace pixolo {

class TbsSkinData;

// A control's link to a skin data store and the name of its entry in the store's control list. The entry is
// looked up again on every use, so nothing survives a reload of the store; a destroyed store is dropped.
class SkinBinding {
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

    // What a skin message asks of a control with this binding.
    enum class Notice { None, Release, Apply };
    Notice notice(QEvent *event) const;

private:
    QPointer<TbsSkinData> m_store;
    QString m_name;
    int m_index = -1;
};

} // namespace pixolo
