#pragma once

// An environment variable set (or unset) for the life of the object, and put back as it was afterwards.

#include <QByteArray>
#include <QtGlobal>

#include <optional>

namespace pixolo::test
{

class ScopedEnv
{
public:
    // `value` nullopt unsets the variable.
    ScopedEnv(const char *name, const std::optional<QByteArray> &value)
        : m_name(name)
        , m_old(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt)
    {
        set(value);
    }
    ~ScopedEnv() { set(m_old); }
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    void set(const std::optional<QByteArray> &value)
    {
        if (value) {
            qputenv(m_name, *value);
        } else {
            qunsetenv(m_name);
        }
    }
    const char *m_name;
    std::optional<QByteArray> m_old;
};

} // namespace pixolo::test
