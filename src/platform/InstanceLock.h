#pragma once

#include <QString>

namespace pixolo
{

// Keeps a second copy of the program from running for the same user: an advisory lock on a file named after the
// guard's name in the user's runtime folder ($XDG_RUNTIME_DIR, else /tmp with the user id in the name). The kernel
// drops the lock when the process ends, however it ends, so a killed copy never blocks the next one.
class InstanceLock
{
public:
    enum Result { Acquired, AlreadyRunning, Failed };

    explicit InstanceLock(const QString &name);
    ~InstanceLock(); // the lock is normally held for the life of the process
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    Result result() const { return m_result; }
    QString path() const { return m_path; }

    static QString lockPath(const QString &name);

private:
    QString m_path;
    int m_fd = -1;
    Result m_result = Failed;
};

} // namespace pixolo
