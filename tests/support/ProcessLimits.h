#pragma once

// What a test (or benchmark) reads of and sets on its own process: resident memory, and a file size limit that makes
// the system refuse a write part of the way through, as a full disk would (for every user, root included).

#include <QByteArray>
#include <QFile>
#include <QList>

#include <csignal>
#include <malloc.h>
#include <sys/resource.h>
#if defined(PIXOLO_SANITIZED)
#include <sanitizer/allocator_interface.h>
#endif

namespace pixolo::test
{

// The heap blocks this process holds now, in KiB: what a leak makes grow. Under the address sanitizer its own
// allocator's count (freed blocks waiting in its quarantine are not held), otherwise the C library's.
inline long heapInUseKiB()
{
#if defined(PIXOLO_SANITIZED)
    return long(__sanitizer_get_current_allocated_bytes() / 1024);
#else
    const struct mallinfo2 heap = mallinfo2();
    return long((heap.uordblks + heap.hblkhd) / 1024); // blocks in the arenas, and those mapped on their own
#endif
}

// Resident memory of this process in KiB; -1 when it cannot be read.
inline long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').front().toLong();
        }
    }
    return -1;
}

// While it lives, files of this process may not grow past `bytes`: writes beyond fail with EFBIG instead of ending the
// process.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = m_saved;
        small.rlim_cur = bytes;
        m_set = setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;
    bool set() const { return m_set; }

private:
    rlimit m_saved {};
    void (*m_oldHandler)(int) = nullptr;
    bool m_set = false;
};

} // namespace pixolo::test
