#pragma once

#include "capture/MediaFramework.h"

#include <atomic>
#include <tuple>
#include <utility>

namespace pixolo
{

// The base of the layer's own objects: one atomic reference count for all the interfaces the object implements,
// and QueryInterface over them. A subclass with further identities overrides findInterface and falls back to this
// one.
template <typename... Interfaces> class FrameworkObject : public Interfaces...
{
public:
    FrameworkObject(const FrameworkObject &) = delete;
    FrameworkObject &operator=(const FrameworkObject &) = delete;

    HRESULT QueryInterface(const GUID &iid, void **object) final
    {
        if (!object) {
            return E_POINTER;
        }
        *object = findInterface(iid);
        if (!*object) {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    std::uint32_t AddRef() final { return m_references.fetch_add(1, std::memory_order_relaxed) + 1; }
    std::uint32_t Release() final
    {
        const std::uint32_t left = m_references.fetch_sub(1, std::memory_order_acq_rel) - 1;
        if (left == 0) {
            delete this;
        }
        return left;
    }

protected:
    FrameworkObject() = default;
    virtual ~FrameworkObject() = default;

    virtual void *findInterface(const GUID &iid)
    {
        if (iid == IInterface::IID) {
            return static_cast<IInterface *>(firstInterface());
        }
        void *found = nullptr;
        ((found = found ? found : (iid == Interfaces::IID ? static_cast<Interfaces *>(this) : nullptr)), ...);
        return found;
    }

private:
    auto *firstInterface() { return static_cast<std::tuple_element_t<0, std::tuple<Interfaces...>> *>(this); }

    std::atomic<std::uint32_t> m_references { 0 };
};

// Makes an object with one reference owned by the result.
template <typename T, typename... Args> RefPtr<T> makeObject(Args &&...args)
{
    return RefPtr<T>(new T(std::forward<Args>(args)...));
}

} // namespace pixolo
