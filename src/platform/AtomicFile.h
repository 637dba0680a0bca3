#pragma once

#include <QByteArrayView>
#include <QString>

namespace pixolo
{

// Writes whole files so that a reader never sees half of one: the data goes to a temporary file in the target's
// folder, is synced to disk, and only then takes the target's name. Any failure on the way (full disk, size limit,
// folder gone, no permission) removes the temporary file and leaves whatever stood under the name untouched.
//
// Every write result is checked here ourselves: a buffered writer that reports success after a short write would
// put a truncated file in place of a good one.
namespace AtomicFile
{

enum Mode {
    Replace, // an existing file of that name is replaced
    NoReplace // an existing file of that name is kept and the write fails with EEXIST
};

struct Result {
    bool ok = false;
    int error = 0; // errno of the failing step
    QString errorText() const;
};

// Writes `data` under `path`.
//
// A symbolic link is followed: the file it points at is written, and the link stays a link. With Replace, an
// existing file keeps its permissions and owner. When the folder refuses a temporary file, or the new file could not
// keep the old one's owner, but the existing file itself may be written (a shared settings file in a folder the
// user cannot write), the file is rewritten in place instead: the whole new content in one write, then truncated and
// synced. That keeps the file whole unless the machine stops during that one write.
Result write(const QString &path, QByteArrayView data, Mode mode = Replace);

// A file written whole and synced under a hidden temporary name (".<name>.XXXXXX") beside `targetPath`, which then
// takes one or more names without being written again. The temporary name goes when the object goes.
//
// File systems without hard links (FAT and exFAT: SD cards, USB sticks) refuse linkTo. Made from a QByteArray, the
// file keeps its data (shared, not copied) for them: the name is then created exclusively and the data written and
// synced under it, so an existing file is still never replaced. A file system without permissions (fchmod refused)
// takes a new file as it comes.
class StagedFile
{
public:
    StagedFile(const QString &targetPath, QByteArrayView data);
    StagedFile(const QString &targetPath, const QByteArray &data);
    ~StagedFile();
    StagedFile(const StagedFile &) = delete;
    StagedFile &operator=(const StagedFile &) = delete;

    // Whether writing and syncing succeeded; the failing step's errno otherwise.
    const Result &result() const { return m_result; }

    // Gives the file the name `path` unless a file of that name exists (EEXIST then); the new name is made durable.
    // The file may take several names this way.
    Result linkTo(const QString &path);
    // Moves the file to `path`, replacing what stood there; the new name is made durable.
    Result renameTo(const QString &path);

private:
    Result createExclusive(const QByteArray &name) const;

    QByteArray m_temporary; // empty once moved or removed
    QByteArray m_data; // kept for a file system without links; empty when made from a view
    bool m_linksRefused = false;
    Result m_result;
};

// The regular expression of the temporary names of files whose own names match `namePattern` (a regular expression
// without anchors): ".<name>.XXXXXX", the six characters chosen by mkstemp. For tidying up after a program that was
// killed while writing.
QString temporaryNamePattern(const QString &namePattern);

// Test seam: every file and folder sync goes through this function (default ::fsync).
using SyncFunction = int (*)(int fd);
void setSyncFunction(SyncFunction function);

// Test seam: every hard link goes through this function (default ::link).
using LinkFunction = int (*)(const char *from, const char *to);
void setLinkFunction(LinkFunction function);

// Whether a link refused with `error` means the file system has no hard links (rather than a name taken, a full
// disk or a missing folder).
bool linksUnsupported(int error);

} // namespace AtomicFile

} // namespace pixolo
