#pragma once

#include <QString>

namespace pixolo
{

// Keeps a second copy of the program from running for the same user: an advisory lock on a file named after the
// guard's name in one private place of the user's. The kernel drops the lock when the process ends, however it ends,
// so a killed copy never blocks the next one.
//
// The place is the user's runtime folder ($XDG_RUNTIME_DIR) when it is usable: a folder of the user's own that
// nobody else may write. Otherwise it is a folder of the user's own under the cache folder ($XDG_CACHE_HOME or
// ~/.cache), made with mode 0700 and kept so. A file in the place that is not a plain file of the user's own (which
// somebody else could only have put there before the folder was private) is never honoured: it is replaced.
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

    // The lock file's path for `name`; makes the private folder under the cache folder when it is the place.
    // Empty when no private place can be had.
    static QString lockPath(const QString &name);

private:
    QString m_path;
    int m_fd = -1;
    Result m_result = Failed;
};

} // namespace pixolo
