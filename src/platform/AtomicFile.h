#pragma once

#include <QByteArrayView>
#include <QString>

namespace pixolo {

// Writes whole files so that a reader never sees half of one: the data goes to a temporary file in the target's
// folder, is synced to disk, and only then takes the target's name. Any failure on the way (full disk, size limit,
// folder gone, no permission) removes the temporary file and leaves whatever stood under the name untouched.
//
// Every write result is checked here ourselves: a buffered writer that reports success after a short write would
// put a truncated file in place of a good one.
namespace AtomicFile {

enum Mode {
    Replace,  // an existing file of that name is replaced
    NoReplace // an existing file of that name is kept and the write fails with EEXIST
};

struct Result {
    bool ok = false;
    int error = 0; // errno of the failing step
    QString errorText() const;
};

Result write(const QString &path, QByteArrayView data, Mode mode = Replace);

} // namespace AtomicFile

} // namespace pixolo
